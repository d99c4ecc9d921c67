#include "monitor/core/link_status_window.h"

#include <string>

#include "card/chdlc.h"

void LinkStatusWindow::reset() {
  last_queued_ = 0xFFFF;
  last_receiver_ = 0xFF;
}

void LinkStatusWindow::refresh() {
  const card::Reply<card::LinkStatus> reply = card::ReadLinkStatus(exec_);
  if (!reply.ok()) return;
  const card::LinkStatus& link = reply.value;
  if (link.channel_status == card::LinkStatus::kInactive) form_->setText(201, "INACTIVE");
  else if (link.channel_status == card::LinkStatus::kActive) form_->setText(201, "ACTIVE");
  if (link.frames_queued != last_queued_) {
    last_queued_ = link.frames_queued;
    form_->setText(202, std::to_string(last_queued_));
  }
  if (link.receiver_status != last_receiver_) {
    last_receiver_ = link.receiver_status;
    form_->setText(203, link.receiverEnabled() ? "ENABLED" : "DISABLED");
  }
}
