#include "monitor/core/link_status_window.h"

#include <string>

#include "driver_if/mailbox.h"

void LinkStatusWindow::reset() {
  last_queued_ = 0xFFFF;
  last_receiver_ = 0xFF;
}

void LinkStatusWindow::refresh() {
  CommandBlock& cb = exec_.block();
  cb.prepare(READ_CHDLC_LINK_STATUS);
  if (exec_.ExecuteCommand() != 0) return;
  auto data = cb.data();
  if (data[0] == 0) form_->setText(201, "INACTIVE");
  else if (data[0] == 1) form_->setText(201, "ACTIVE");
  if (data[1] != last_queued_) {
    last_queued_ = data[1];
    form_->setText(202, std::to_string(last_queued_));
  }
  if (data[2] != last_receiver_) {
    last_receiver_ = data[2];
    form_->setText(203, last_receiver_ != 0 ? "DISABLED" : "ENABLED");
  }
}
