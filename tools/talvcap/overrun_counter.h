#pragma once
// Frames the card itself lost during a capture: its receive queue was full
// because the reader fell behind. The card counts them in a 16-bit counter
// that wraps, so it is read often enough to see every step.

#include <cstdint>

#include "driver_if/execute.h"

namespace talvcap {

class OverrunCounter {
 public:
  // Takes the card's counter as the starting point; false when it cannot be read.
  bool start(CommandExecutor& exec);
  // Adds what the counter moved by since the last read; call well within
  // 65536 overruns of the last call.
  void update(CommandExecutor& exec);
  uint64_t total() const { return total_; }

 private:
  bool started_ = false;
  uint16_t last_ = 0;
  uint64_t total_ = 0;
};

}  // namespace talvcap
