#pragma once
// "Receive Detail": a summary line per received frame (the newest 49), the
// dump of the last frame and the frame counter. It empties the reception
// mailbox on a short window timer, so a flood of frames costs the
// user-interface thread a few updates a second, whatever the frame rate.
// "Capture to file..." writes every frame to a capture file, one write per
// emptying of the mailbox. "Lost at card:" shows the frames the card had no
// receive buffer for, as its statistics count them.

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
  static constexpr int kLostAtCard = 164;
  static constexpr int kDrainTimer = 1;
  // Ten refreshes a second: as fast as anyone reads a busy line, and what a
  // refresh costs (about 50 lines and a dump laid out) stays a small load.
  static constexpr unsigned kDrainPeriodMs = 100;

  ReceiveDetailWindow(ui::Host& host, ui::Prompter& prompter, std::shared_ptr<ReceptionMailbox> mailbox)
      : host_(host), mailbox_(std::move(mailbox)), capture_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onMouseDown() override { form_->bringToTop(); }

  // Shows whatever the thread has left in the mailbox.
  void drain();
  void showLostAtCard(uint32_t frames);
  ui::Form& form() { return *form_; }
  CaptureFile& capture() { return capture_; }
  void stopTimer();
  // Writes the frames not written yet and closes the capture file.
  void stopCapture();

 private:
  void addLine(const std::string& line);
  void startCapture();

  ui::Host& host_;
  std::shared_ptr<ReceptionMailbox> mailbox_;
  ui::Form* form_ = nullptr;
  bool timer_ = false;
  uint32_t lost_at_card_ = 0;
  CaptureFile capture_;
};
