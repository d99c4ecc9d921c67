#include "monitor/traffic/receive_detail_window.h"

#include <string>

#include "monitor/traffic/frame_format.h"

void ReceiveDetailWindow::onInit(ui::Form& form) {
  form_ = &form;
  form.setChecked(kDisplay, true);
  form.setChecked(kCount, true);
  form.setText(kCounter, "0");
  mailbox_->display = true;
  mailbox_->count = true;
  timer_ = host_.startTimer(form, kDrainTimer, kDrainPeriodMs);
}

void ReceiveDetailWindow::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kDisplay) mailbox_->display = form_->isChecked(kDisplay);
  if (id == kCount) mailbox_->count = form_->isChecked(kCount);
  if (id == kCapture) {
    if (form_->isChecked(kCapture)) startCapture();
    else stopCapture();
  }
}

void ReceiveDetailWindow::startCapture() {
  if (!capture_.start(*form_)) {
    form_->setChecked(kCapture, false);
    return;
  }
  mailbox_->startCapture();
}

void ReceiveDetailWindow::stopCapture() {
  if (!capture_.isOpen()) return;
  const std::vector<uint8_t> records = mailbox_->stopCapture();
  form_->setChecked(kCapture, false);
  const bool written = records.empty() || capture_.write(records);
  capture_.stop();
  if (!written) capture_.reportWriteFailure(*form_);
}

void ReceiveDetailWindow::showLostAtCard(uint32_t frames) {
  if (frames == lost_at_card_) return;
  lost_at_card_ = frames;
  form_->setText(kLostAtCard, std::to_string(frames));
}

void ReceiveDetailWindow::onTimer(int timer_id) {
  if (timer_id == kDrainTimer) drain();
}

void ReceiveDetailWindow::stopTimer() {
  if (timer_) host_.stopTimer(*form_, kDrainTimer);
  timer_ = false;
}

void ReceiveDetailWindow::addLine(const std::string& line) {
  if (form_->listCount(kList) >= static_cast<int>(kReceiveListLines)) form_->listDelete(kList, 0);
  form_->listAdd(kList, line);
}

void ReceiveDetailWindow::drain() {
  ReceptionBatch batch = mailbox_->take();
  if (batch.empty()) return;
  // A failed write ends the capture at once; its box waits to the end.
  const bool capture_failed = !batch.capture.empty() && capture_.isOpen() && !capture_.write(batch.capture);
  if (capture_failed) {
    mailbox_->stopCapture();
    form_->setChecked(kCapture, false);
  }
  if (batch.open_failed) addLine("Unable to open device for reading!");
  // Lines pushed out by later ones before they could be shown never need drawing.
  if (batch.lines_added >= kReceiveListLines) form_->listClear(kList);
  for (const auto& s : batch.lines)
    addLine(SummaryLine(s.bits, s.length, s.time_stamp, std::span(s.first.data(), s.count)));
  if (form_->listCount(kList) > 0) form_->listSelect(kList, form_->listCount(kList) - 1);
  if (batch.dump) form_->setText(kDump, FrameDump(*batch.dump));
  if (batch.counter) form_->setText(kCounter, std::to_string(*batch.counter));
  // Last, so drains run by the box's modal loop show later frames after these.
  if (capture_failed) capture_.reportWriteFailure(*form_);
}
