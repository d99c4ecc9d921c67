#pragma once
// "Send Frames": a frame typed as text or hexadecimal bytes, sent once per
// SEND, or pattern frames sent one per polling tick with Send Many.
// "Capture to file..." writes every frame the card accepted to a capture file.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "driver_if/execute.h"
#include "driver_if/records.h"
#include "monitor/traffic/capture_file.h"
#include "monitor/traffic/frame_history.h"
#include "ui/form.h"
#include "ui/prompter.h"

const ui::FormTemplate& SendFramesTemplate();

// What outlives the window: the history and the "Data is Text" choice.
struct SendFramesMemory {
  FrameHistory history;
  bool data_is_text = false;
};

class SendFramesWindow : public ui::FormHandler {
 public:
  static constexpr int kSend = 100;
  static constexpr int kClose = 101;
  static constexpr int kDataIsText = 106;
  static constexpr int kHistory = 107;
  static constexpr int kCapture = 108;
  static constexpr int kData = 113;
  static constexpr int kLength = 114;
  static constexpr int kStatus = 150;
  static constexpr int kStartStop = 151;
  static constexpr uint16_t kMaxSendManyLength = 1000;

  // close: asks the owner to destroy this window.
  SendFramesWindow(CommandExecutor& exec, ui::Prompter& prompter, SendFramesMemory& memory,
                   std::function<void()> close)
      : exec_(exec), memory_(memory), close_(std::move(close)), capture_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onPollTick() override;
  void onMouseDown() override { form_->bringToTop(); }

  ui::Form& form() { return *form_; }
  CaptureFile& capture() { return capture_; }

 private:
  void send();
  void startStop();
  void fillHistory();
  uint8_t transmit();
  void toggleCapture();
  // Underlines what the hexadecimal rule will not read as hexadecimal.
  void markData();

  CommandExecutor& exec_;
  SendFramesMemory& memory_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  std::unique_ptr<SendFrameBuffer> buffer_ = std::make_unique<SendFrameBuffer>();
  bool running_ = false;
  uint8_t pattern_ = 0;
  uint16_t sent_ = 0;
  uint16_t many_length_ = 0;
  CaptureFile capture_;
  std::vector<uint8_t> records_;  // kept storage for the record of each frame
};
