#pragma once
// Enable and Disable Communications, the Receive Detail window with the
// reception thread behind it, and the Send Frames window.

#include <memory>

#include "monitor/core/monitor_core.h"
#include "monitor/traffic/capture_status.h"
#include "monitor/traffic/receive_detail_window.h"
#include "monitor/traffic/reception.h"
#include "monitor/traffic/send_frames_window.h"

class Communications {
 public:
  static constexpr int kMaxDisableCommands = 21;
  static constexpr std::chrono::milliseconds kReceptionPause{3000};

  explicit Communications(MonitorCore& core) : core_(core), capture_status_(core.host()) {}
  ~Communications();

  void Enable();
  void Disable();
  // Whether the card's line is enabled; kept apart from the window, which
  // may already be gone at exit.
  bool enabled() const { return enabled_; }

  void OpenSendFrames();
  void onPollTick();
  // The main window is going: destroy the windows while they still exist.
  void forgetWindows();
  // The click on the capture status line.
  void openCaptureFolder() { capture_status_.openFolder(); }

  ReceiveDetailWindow* receiveDetail() const { return receive_detail_.get(); }
  SendFramesWindow* sendFrames() const { return send_frames_.get(); }
  ReceptionThread* receptionThread() const { return reception_.get(); }

 private:
  void closeReceiveDetail();
  void showLostAtCard();
  void closeSendFrames();
  void endReception();
  void showCaptureStatus();

  MonitorCore& core_;
  bool enabled_ = false;
  SendFramesMemory send_frames_memory_;
  std::shared_ptr<SendFramesWindow> send_frames_;
  std::shared_ptr<ReceiveDetailWindow> receive_detail_;
  ui::Form* receive_detail_form_ = nullptr;
  std::shared_ptr<ReceptionMailbox> mailbox_;
  std::unique_ptr<ReceptionThread> reception_;
  CaptureStatusLine capture_status_;
};
