#pragma once
// A card counter (16 or 32 bits, cleared by the Flush buttons) turned into a
// value that only rises. Until the card's counter first goes down, the value
// is the card's count. A fall from near the top of the range to near the
// bottom is a wrap and counts the steps across it; any other fall is a clear,
// after which the count restarts from zero on top of what was already counted.

#include <cstdint>

namespace exporter {

class WrappingCounter {
 public:
  explicit WrappingCounter(unsigned bits) : bits_(bits) {}

  // The monotonic value after the card reported raw.
  uint64_t update(uint32_t raw);
  uint64_t value() const { return total_; }

 private:
  unsigned bits_;
  bool seen_ = false;
  uint32_t last_ = 0;
  uint64_t total_ = 0;
};

}  // namespace exporter
