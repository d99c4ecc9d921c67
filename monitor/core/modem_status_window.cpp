#include "monitor/core/modem_status_window.h"

#include "driver_if/mailbox.h"

namespace {
constexpr uint8_t kDcd = 0x08;
constexpr uint8_t kCts = 0x20;
}

void ModemStatusWindow::refresh() {
  CommandBlock& cb = exec_.block();
  cb.prepare(READ_MODEM_STATUS);
  if (exec_.ExecuteCommand() != 0) return;
  uint8_t status = cb.data()[0];
  if (status == last_status_) return;
  last_status_ = status;
  form_->setText(200, (status & kDcd) ? "High" : "Low");
  form_->setText(201, (status & kCts) ? "High" : "Low");
}
