#include "monitor/core/monitor_window.h"

#include "driver_if/mailbox.h"

void MonitorWindow::onInit(ui::Form& form) {
  form_ = &form;
  reset();
  form.bringToTop();
}

void MonitorWindow::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kCloseButton) close_request_();
  else onButton(id);
}

void MonitorWindow::onPollTick() {
  // A refresh that sends nothing leaves this, and so counts as answered.
  exec_.block().setReturnCode(0);
  refresh();
  answering_ = !IsTimeout(exec_.block().returnCode());
  form_->setStale(!answering_);
}
