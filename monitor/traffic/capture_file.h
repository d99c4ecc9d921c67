#pragma once
// The file behind a traffic window's "Capture to file..." check box: asks
// for its path, opens it and tells the user when it cannot be opened or
// written.

#include <functional>
#include <span>
#include <string>

#include "monitor/traffic/capture_status.h"
#include "monitor/traffic/pcap_writer.h"
#include "ui/form.h"
#include "ui/prompter.h"

class CaptureFile : public CaptureSource {
 public:
  explicit CaptureFile(ui::Prompter& prompter) : prompter_(prompter) {}

  // Asks for the path and opens the file. False when the user cancelled or
  // the file failed, which the user has then been told.
  bool start(ui::Form& owner);
  // Writes and flushes records. False when that failed; the file is closed.
  bool write(std::span<const uint8_t> records);
  // Tells the user that a failed write ended the capture.
  void reportWriteFailure(ui::Form& owner);
  void stop();
  bool isOpen() const { return writer_.isOpen(); }

  std::optional<CaptureProgress> progress() const override;
  // Runs on the UI thread after the capture started, wrote or stopped.
  std::function<void()> changed;

 private:
  void report(const std::string& text, ui::Form& owner);
  void notify() const {
    if (changed) changed();
  }

  ui::Prompter& prompter_;
  PcapWriter writer_;
  std::string path_;
  CaptureProgress progress_;
};
