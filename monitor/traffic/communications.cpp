#include "monitor/traffic/communications.h"

#include "card/chdlc.h"

Communications::~Communications() { endReception(); }

void Communications::Enable() {
  if (enabled_ || receive_detail_ != nullptr) return;
  // Never a second reader while an earlier one still runs.
  if (reception_ != nullptr && !reception_->ended()) return;
  reception_.reset();
  CommandExecutor& exec = core_.exec();
  if (card::EnableCommunications(exec) != RC_OK) return;
  enabled_ = true;

  mailbox_ = std::make_shared<ReceptionMailbox>();
  receive_detail_ = std::make_shared<ReceiveDetailWindow>(core_.host(), core_.prompter(), mailbox_);
  receive_detail_form_ =
      core_.host().createWindow(ReceiveDetailTemplate(), *receive_detail_, ui::WindowKind::OwnedPopup);
  if (receive_detail_form_ == nullptr) receive_detail_.reset();
  else receive_detail_->capture().changed = [this] { showCaptureStatus(); };
  reception_ = std::make_unique<ReceptionThread>(core_.driver(), core_.connection().deviceName(), mailbox_);
}

void Communications::Disable() {
  CommandExecutor& exec = core_.exec();
  for (int attempt = 0; attempt < kMaxDisableCommands; ++attempt) {
    const uint8_t rc = card::DisableCommunications(exec);
    closeReceiveDetail();
    closeSendFrames();
    if (rc == 0) break;
  }
  enabled_ = false;
  endReception();
}

void Communications::endReception() {
  if (reception_ == nullptr) return;
  // The driver fails the thread's request once the line is disabled; a
  // driver that does not is cancelled after the pause.
  if (!reception_->waitForEnd(kReceptionPause)) reception_->cancel();
  reception_.reset();
}

void Communications::closeReceiveDetail() {
  if (receive_detail_ == nullptr) return;
  receive_detail_->stopTimer();
  receive_detail_->stopCapture();
  core_.host().destroyWindow(*receive_detail_form_);
  receive_detail_.reset();
  receive_detail_form_ = nullptr;
  showCaptureStatus();
}

void Communications::OpenSendFrames() {
  if (send_frames_ != nullptr) {
    send_frames_->form().bringToTop();
    return;
  }
  auto window = std::make_shared<SendFramesWindow>(core_.exec(), core_.prompter(), send_frames_memory_,
                                                   [this] { closeSendFrames(); });
  if (core_.host().createWindow(SendFramesTemplate(), *window, ui::WindowKind::OwnedPopup) == nullptr) return;
  window->capture().changed = [this] { showCaptureStatus(); };
  send_frames_ = std::move(window);
}

void Communications::closeSendFrames() {
  if (send_frames_ == nullptr) return;
  core_.host().destroyWindow(send_frames_->form());
  send_frames_->capture().changed = nullptr;
  // The window's own Close button may be what is running: free it afterwards.
  core_.host().post([retired = std::move(send_frames_)] {});
  showCaptureStatus();
}

void Communications::showCaptureStatus() {
  capture_status_.show({receive_detail_ ? &receive_detail_->capture() : nullptr,
                        send_frames_ ? &send_frames_->capture() : nullptr});
}

void Communications::onPollTick() {
  if (send_frames_ != nullptr) send_frames_->onPollTick();
  if (receive_detail_ == nullptr) return;
  receive_detail_->drain();
  showLostAtCard();
}

// Frames the card dropped never reach the reception thread; only the card's
// statistics know them.
void Communications::showLostAtCard() {
  const card::Reply<card::OperationalStatistics> stats = card::ReadOperationalStatistics(core_.exec());
  if (!stats.ok() || receive_detail_ == nullptr) return;
  receive_detail_->showLostAtCard(stats.value.rx_discarded_no_buffer);
}

void Communications::forgetWindows() {
  closeReceiveDetail();
  closeSendFrames();
}
