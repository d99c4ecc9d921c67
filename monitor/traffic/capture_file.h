#pragma once
// The file behind a traffic window's "Capture to file..." check box: asks
// for its path, hands frames to a writer thread and tells the user when
// the capture cannot go on. A FIFO's reader, slow or missing, never holds
// up the window.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "card/capture/capture_queue.h"
#include "monitor/traffic/capture_status.h"
#include "ui/form.h"
#include "ui/prompter.h"

class CaptureFile : public CaptureSource {
 public:
  // How long closing may wait for a slow reader to take the last frames.
  static constexpr std::chrono::seconds kFinishWait{10};

  explicit CaptureFile(ui::Prompter& prompter) : prompter_(prompter) {}
  // Never loses a frame given, whatever path ends the capture.
  ~CaptureFile() {
    if (queue_ != nullptr) queue_->finish(kFinishWait);
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  // Asks for the path and starts the capture. False when the user cancelled
  // or the file cannot be opened, which the user has then been told.
  bool start(ui::Form& owner);
  // Writes every frame given so far, closes the file and tells the user
  // what could not be written.
  void stop(ui::Form& owner);
  // True when the writer has failed: the capture has then stopped and the
  // user has been told why.
  bool stoppedByFailure(ui::Form& owner);
  bool isOpen() const { return queue_ != nullptr; }
  // The queue frames go to while the capture runs.
  const std::shared_ptr<capture::CaptureQueue>& queue() const { return queue_; }
  // What the user should know about the running capture, or "".
  std::string status() const;

  std::optional<CaptureProgress> progress() const override;
  // Runs on the UI thread when a capture starts or stops.
  std::function<void()> changed;

 private:
  void reportFailure(const std::string& path, capture::WriteStatus failure, ui::Form& owner);
  void report(const std::string& text, ui::Form& owner);
  void notify() const {
    if (changed) changed();
  }

  ui::Prompter& prompter_;
  std::shared_ptr<capture::CaptureQueue> queue_;
};
