#pragma once
// One capture from start to end: the card made ready, frames read on one
// thread and written on another, and the card left as it was found.

#include <cstdint>
#include <functional>
#include <string>

#include "driver_if/card_driver.h"
#include "tools/talvcap/capture_options.h"

namespace talvcap {

struct CaptureHooks {
  std::function<bool()> stop_requested;        // polled; a signal sets it
  std::function<void(uint64_t written)> progress;  // called while capturing
};

struct CaptureResult {
  bool started = false;  // false: nothing was written, error says why
  bool ok = false;
  std::string error;
  uint64_t captured = 0;  // frames in the file(s)
  uint64_t dropped = 0;   // frames the program could not keep up with
  uint64_t card_overruns = 0;  // frames the card lost, its receive queue full
};

CaptureResult RunCapture(CardDriver& driver, const CaptureOptions& options, const CaptureHooks& hooks);

// The report printed when a capture stops; a second line tells of frames
// the card lost.
std::string CaptureSummary(const CaptureResult& result);

}  // namespace talvcap
