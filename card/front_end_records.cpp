#include "card/front_end_records.h"

#include "driver_if/le.h"

namespace card {

namespace {

constexpr size_t kCountersOffset = 4;

constexpr std::array<ReceiveLevel, 16> kReceiveLevels = {{
    {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"},
    {"50.0", "8.5"}, {"44.4", "7.5"}, {"38.4", "6.4"}, {"32.3", "5.3"}, {"26.0", "4.2"},
    {"19.7", "3.2"}, {"13.6", "2.1"}, {"7.0", "1.1"}, {"0.0", "0.0"},
}};

}  // namespace

Te1Alarms Te1Alarms::Decode(std::span<const uint8_t> data) {
  Te1Alarms a;
  a.alarms = le::get_u16(data, 0);
  for (size_t i = 0; i < a.counters.size(); ++i) a.counters[i] = le::get_u32(data, kCountersOffset + 4 * i);
  return a;
}

void Te1Alarms::Encode(std::span<uint8_t> data) const {
  le::put_u16(data, 0, alarms);
  for (size_t i = 0; i < counters.size(); ++i) le::put_u32(data, kCountersOffset + 4 * i, counters[i]);
}

ReceiveLevel Status56K::receiveLevel() const { return kReceiveLevels[receiveLevelIndex()]; }

Status56K Status56K::Decode(std::span<const uint8_t> data) { return {le::get_u16(data, 0)}; }

void Status56K::Encode(std::span<uint8_t> data) const { le::put_u16(data, 0, status); }

}  // namespace card
