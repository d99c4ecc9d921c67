#include "monitor/core/modem_status_window.h"

#include "card/chdlc.h"

void ModemStatusWindow::refresh() {
  const card::Reply<card::ModemStatus> reply = card::ReadModemStatus(exec_);
  if (!reply.ok() || reply.value.bits == last_status_) return;
  last_status_ = reply.value.bits;
  form_->setText(200, reply.value.dcd() ? "High" : "Low");
  form_->setText(201, reply.value.cts() ? "High" : "Low");
}
