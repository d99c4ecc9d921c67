#pragma once
// The main window's status line while a capture runs: its file, the frames
// written, the size and the frames not written. It reads each capture only
// through CaptureSource, whatever does the writing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/host.h"

struct CaptureProgress {
  std::string path;
  uint64_t frames_written = 0;
  uint64_t bytes_written = 0;  // the whole file, header included
  uint64_t frames_not_written = 0;
};

class CaptureSource {
 public:
  virtual ~CaptureSource() = default;
  // Nothing while no capture runs.
  virtual std::optional<CaptureProgress> progress() const = 0;
};

// "frames.pcap: 120 frames written (4.2 KB), 0 not written"
std::string CaptureStatusText(const CaptureProgress& progress);

class CaptureStatusLine {
 public:
  explicit CaptureStatusLine(ui::Host& host) : host_(host) {}

  // Shows the running captures among sources (null ones are skipped), or
  // hides the line when none runs.
  void show(const std::vector<const CaptureSource*>& sources);
  // The click on the line: the folder of the first capture shown.
  void openFolder();

 private:
  ui::Host& host_;
  std::string text_;
  std::string folder_;
};
