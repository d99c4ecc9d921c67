#pragma once
// "Receive Detail": a summary line per received frame (the newest 49), the
// dump of the last frame and the frame counter. It empties the reception
// mailbox on a short window timer, so a flood of frames costs the
// user-interface thread a few updates a second, whatever the frame rate.
// "Capture to file..." hands every frame to a capture writer thread; what
// it could not write is shown under the boxes.

#include <memory>

#include "monitor/traffic/capture_file.h"
#include "monitor/traffic/reception.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/prompter.h"

const ui::FormTemplate& ReceiveDetailTemplate();

class ReceiveDetailWindow : public ui::FormHandler {
 public:
  static constexpr int kList = 102;
  static constexpr int kDump = 103;
  static constexpr int kDisplay = 160;
  static constexpr int kCounter = 161;
  static constexpr int kCount = 162;
  static constexpr int kCapture = 163;
  static constexpr int kCaptureStatus = 164;
  static constexpr int kDrainTimer = 1;
  static constexpr unsigned kDrainPeriodMs = 20;

  ReceiveDetailWindow(ui::Host& host, ui::Prompter& prompter, std::shared_ptr<ReceptionMailbox> mailbox)
      : host_(host), mailbox_(std::move(mailbox)), capture_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onMouseDown() override { form_->bringToTop(); }

  // Shows whatever the thread has left in the mailbox.
  void drain();
  ui::Form& form() { return *form_; }
  void stopTimer();
  // Writes the frames not written yet and closes the capture file.
  void stopCapture();

 private:
  void addLine(const std::string& line);
  void startCapture();
  void showCaptureStatus();

  ui::Host& host_;
  std::shared_ptr<ReceptionMailbox> mailbox_;
  ui::Form* form_ = nullptr;
  bool timer_ = false;
  CaptureFile capture_;
};
