#include "monitor/core/monitor_window.h"

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
