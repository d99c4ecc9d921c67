#include "cardsim/line_rate.h"

#include <algorithm>

namespace cardsim {

namespace {

constexpr uint32_t kSerialClockHz = 14'745'600;
constexpr uint32_t kChannelRate = 64'000;

}  // namespace

uint32_t ActualBitRate(const CardDescription& description, uint32_t requested) {
  switch (description.front_end) {
    case FrontEnd::kT1:
      return 24 * kChannelRate;
    case FrontEnd::kE1:
      return 31 * kChannelRate;  // time slot 0 carries the framing
    case FrontEnd::k56K:
      return 56'000;
    case FrontEnd::kNone:
      break;
  }
  if (requested == 0) return 0;
  uint64_t divisor = (uint64_t{kSerialClockHz} + requested / 2) / requested;
  return static_cast<uint32_t>(kSerialClockHz / std::max<uint64_t>(divisor, 1));
}

}  // namespace cardsim
