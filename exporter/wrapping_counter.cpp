#include "exporter/wrapping_counter.h"

namespace exporter {

uint64_t WrappingCounter::update(uint32_t raw) {
  const uint64_t range = uint64_t{1} << bits_;
  raw = static_cast<uint32_t>(raw & (range - 1));
  if (!seen_) {
    total_ = raw;
  } else if (raw >= last_) {
    total_ += raw - last_;
  } else {
    // Across a wrap a scrape sees a small step; a clear drops the count by
    // much more than a quarter of the range in most cases.
    const uint64_t across_wrap = range - last_ + raw;
    total_ += across_wrap < range / 4 ? across_wrap : raw;
  }
  seen_ = true;
  last_ = raw;
  return total_;
}

}  // namespace exporter
