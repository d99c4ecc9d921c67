#include "monitor/traffic/send_frames_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "driver_if/requests.h"
#include "monitor/core/polling_config_dialog.h"
#include "monitor/traffic/frame_text.h"

void SendFramesWindow::onInit(ui::Form& form) {
  form_ = &form;
  form.setChecked(kDataIsText, memory_.data_is_text);
  form.setText(kLength, "100");
  form.setText(kStatus, "Stopped");
  form.setText(kStartStop, "Start");
  fillHistory();
}

void SendFramesWindow::onCommand(int id, ui::Notify notify) {
  if (id == kHistory && notify == ui::Notify::DoubleClicked) {
    int line = form_->listSelection(kHistory);
    if (line >= 0) form_->setText(kData, form_->listText(kHistory, line));
    markData();
    return;
  }
  if (id == kData && notify == ui::Notify::Edited) markData();
  if (notify != ui::Notify::Clicked) return;
  if (id == kDataIsText) markData();
  if (id == kSend) send();
  else if (id == kStartStop) startStop();
  else if (id == kCapture) toggleCapture();
  else if (id == kClose) close_();
}

uint8_t SendFramesWindow::transmit() {
  // Taken before the request: the driver's reply lands in the same buffer.
  const auto sent_at = std::chrono::system_clock::now();
  if (capture_.isOpen()) {
    const auto bytes = buffer_->data().first(buffer_->length());
    frame_.assign(bytes.begin(), bytes.end());
  }
  // The request failing outright reads as 1, like a frame the driver refused.
  if (SendFrame(exec_.handle(), *buffer_) == kSendRequestFailed) buffer_->setResult(1);
  // Only a frame the card took went on the line.
  if (buffer_->result() == 0 && capture_.isOpen()) capture_.queue()->push(sent_at, frame_);
  checkCapture();
  return buffer_->result();
}

void SendFramesWindow::markData() {
  std::vector<ui::TextMark> marks;
  if (!form_->isChecked(kDataIsText)) {
    const std::string text = form_->text(kData);
    for (const NonHexToken& t : NonHexTokens(text)) {
      char sent_as[4];
      std::snprintf(sent_as, sizeof sent_as, "%02X", t.sent_as);
      marks.push_back({t.start, t.length,
                       std::string("'").append(text, t.start, t.length) + "' is not hexadecimal; sent as " + sent_as});
    }
  }
  form_->setMarks(kData, marks);
}

void SendFramesWindow::toggleCapture() {
  if (!form_->isChecked(kCapture)) capture_.stop(*form_);
  else if (!capture_.start(*form_)) form_->setChecked(kCapture, false);
}

void SendFramesWindow::checkCapture() {
  if (capture_.stoppedByFailure(*form_)) form_->setChecked(kCapture, false);
}

void SendFramesWindow::stopCapture() {
  capture_.stop(*form_);
  form_->setChecked(kCapture, false);
}

void SendFramesWindow::send() {
  memory_.data_is_text = form_->isChecked(kDataIsText);
  buffer_->setResult(1);
  std::string text = CutFrameText(form_->text(kData));
  memory_.history.add(text);
  auto data = buffer_->data();
  if (memory_.data_is_text) {
    std::copy(text.begin(), text.end(), data.begin());
    data[text.size()] = 0;
    buffer_->setLength(static_cast<uint16_t>(text.size()));
  } else {
    std::vector<uint8_t> bytes = HexFrameBytes(text);
    std::copy(bytes.begin(), bytes.end(), data.begin());
    buffer_->setLength(static_cast<uint16_t>(bytes.size()));
  }
  char status[32];
  std::snprintf(status, sizeof status, "Sent - RC 0x%02X", transmit());
  form_->setText(kStatus, status);
  fillHistory();
}

void SendFramesWindow::fillHistory() {
  form_->listClear(kHistory);
  for (const auto& text : memory_.history.newestFirst()) form_->listAdd(kHistory, text);
}

void SendFramesWindow::startStop() {
  if (running_) {
    running_ = false;
    form_->setText(kStartStop, "Start");
    form_->setText(kStatus, "Stopped");
    return;
  }
  running_ = true;
  pattern_ = 0;
  form_->setText(kStartStop, "Stop");
  form_->setText(kStatus, "Starting...");
  // The whole number is compared first, so 65537 is cut to 1000, never wrapped to 1.
  unsigned long long length = DialogNumber(form_->text(kLength));
  if (length > kMaxSendManyLength) {
    length = kMaxSendManyLength;
    form_->setText(kLength, std::to_string(kMaxSendManyLength));
  }
  many_length_ = static_cast<uint16_t>(length);
  sent_ = 0;
}

void SendFramesWindow::onPollTick() {
  if (!running_) {
    checkCapture();
    return;
  }
  buffer_->setLength(many_length_);
  std::fill_n(buffer_->data().begin(), many_length_, pattern_);
  buffer_->setResult(1);
  uint8_t rc = transmit();
  char status[64];
  std::snprintf(status, sizeof status, "Sent # %u: %02X %02X %02X... - RC 0x%02X", sent_, pattern_,
                pattern_, pattern_, rc);
  form_->setText(kStatus, status);
  if (rc == 0) {
    ++sent_;
    ++pattern_;
  }
}
