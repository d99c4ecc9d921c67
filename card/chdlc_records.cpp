#include "card/chdlc_records.h"

#include <algorithm>
#include <array>

#include "driver_if/le.h"

namespace card {

namespace {

// A record of counters: each field at its byte offset, in the order of the struct.
template <class Record, class Word, size_t N>
struct CounterLayout {
  std::array<Word Record::*, N> fields;
  std::array<size_t, N> offsets;

  Record Decode(std::span<const uint8_t> data) const {
    Record r;
    for (size_t i = 0; i < N; ++i) {
      if constexpr (sizeof(Word) == 4) r.*fields[i] = le::get_u32(data, offsets[i]);
      else r.*fields[i] = le::get_u16(data, offsets[i]);
    }
    return r;
  }

  void Encode(const Record& r, std::span<uint8_t> data) const {
    for (size_t i = 0; i < N; ++i) {
      if constexpr (sizeof(Word) == 4) le::put_u32(data, offsets[i], r.*fields[i]);
      else le::put_u16(data, offsets[i], r.*fields[i]);
    }
  }
};

using Op = OperationalStatistics;
constexpr CounterLayout<Op, uint32_t, 11> kOperational{
    {&Op::frames_transmitted, &Op::bytes_transmitted, &Op::transmit_throughput, &Op::transmit_throughput_ms,
     &Op::tx_discarded_length, &Op::frames_received, &Op::bytes_received, &Op::receive_throughput,
     &Op::receive_throughput_ms, &Op::rx_discarded_length, &Op::rx_discarded_no_buffer},
    {0, 4, 8, 12, 16, 32, 36, 40, 44, 52, 48}};

using Ce = CommErrorStatistics;
constexpr CounterLayout<Ce, uint16_t, 7> kCommErrors{
    {&Ce::receiver_overrun, &Ce::receiver_crc, &Ce::abort_frames, &Ce::receiver_disabled_buffers_full,
     &Ce::missed_tx_underrun_interrupts, &Ce::dcd_dropped, &Ce::cts_dropped},
    {0, 2, 4, 6, 12, 16, 18}};

}  // namespace

LinkStatus LinkStatus::Decode(std::span<const uint8_t> data) {
  return {data[0], data[1], data[2]};
}

void LinkStatus::Encode(std::span<uint8_t> data) const {
  data[0] = channel_status;
  data[1] = frames_queued;
  data[2] = receiver_status;
}

OperationalStatistics OperationalStatistics::Decode(std::span<const uint8_t> data) { return kOperational.Decode(data); }

void OperationalStatistics::Encode(std::span<uint8_t> data) const { kOperational.Encode(*this, data); }

CommErrorStatistics CommErrorStatistics::Decode(std::span<const uint8_t> data) { return kCommErrors.Decode(data); }

void CommErrorStatistics::Encode(std::span<uint8_t> data) const { kCommErrors.Encode(*this, data); }

GlobalStatistics GlobalStatistics::Decode(std::span<const uint8_t> data) { return {le::get_u16(data, 0)}; }

void GlobalStatistics::Encode(std::span<uint8_t> data) const { le::put_u16(data, 0, irq_timeouts); }

ModemStatus ModemStatus::Decode(std::span<const uint8_t> data) { return {data[0]}; }

std::string DecodeCodeVersion(std::span<const uint8_t> reply) {
  reply = reply.first(std::min(reply.size(), kMaxCodeVersion));
  auto end = std::find(reply.begin(), reply.end(), uint8_t{0});
  return std::string(reply.begin(), end);
}

}  // namespace card
