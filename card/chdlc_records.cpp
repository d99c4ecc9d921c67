#include "card/chdlc_records.h"

#include <algorithm>
#include <array>

#include "driver_if/le.h"

namespace card {

namespace {

// Byte offsets of the operational statistics, in the order of the struct.
constexpr std::array<size_t, 10> kOperationalOffsets = {0, 4, 8, 12, 16, 32, 36, 40, 44, 52};
// Byte offsets of the communication error counters, in the order of the struct.
constexpr std::array<size_t, 7> kCommErrorOffsets = {0, 2, 4, 6, 12, 16, 18};

std::array<uint32_t OperationalStatistics::*, 10> OperationalFields() {
  using S = OperationalStatistics;
  return {&S::frames_transmitted, &S::bytes_transmitted,  &S::transmit_throughput,
          &S::transmit_throughput_ms, &S::tx_discarded_length, &S::frames_received,
          &S::bytes_received,     &S::receive_throughput, &S::receive_throughput_ms,
          &S::rx_discarded_length};
}

std::array<uint16_t CommErrorStatistics::*, 7> CommErrorFields() {
  using S = CommErrorStatistics;
  return {&S::receiver_overrun, &S::receiver_crc,  &S::abort_frames, &S::receiver_disabled_buffers_full,
          &S::missed_tx_underrun_interrupts, &S::dcd_dropped, &S::cts_dropped};
}

}  // namespace

LinkStatus LinkStatus::Decode(std::span<const uint8_t> data) {
  return {data[0], data[1], data[2]};
}

void LinkStatus::Encode(std::span<uint8_t> data) const {
  data[0] = channel_status;
  data[1] = frames_queued;
  data[2] = receiver_status;
}

OperationalStatistics OperationalStatistics::Decode(std::span<const uint8_t> data) {
  OperationalStatistics s;
  const auto fields = OperationalFields();
  for (size_t i = 0; i < fields.size(); ++i) s.*fields[i] = le::get_u32(data, kOperationalOffsets[i]);
  return s;
}

void OperationalStatistics::Encode(std::span<uint8_t> data) const {
  const auto fields = OperationalFields();
  for (size_t i = 0; i < fields.size(); ++i) le::put_u32(data, kOperationalOffsets[i], this->*fields[i]);
}

CommErrorStatistics CommErrorStatistics::Decode(std::span<const uint8_t> data) {
  CommErrorStatistics s;
  const auto fields = CommErrorFields();
  for (size_t i = 0; i < fields.size(); ++i) s.*fields[i] = le::get_u16(data, kCommErrorOffsets[i]);
  return s;
}

void CommErrorStatistics::Encode(std::span<uint8_t> data) const {
  const auto fields = CommErrorFields();
  for (size_t i = 0; i < fields.size(); ++i) le::put_u16(data, kCommErrorOffsets[i], this->*fields[i]);
}

GlobalStatistics GlobalStatistics::Decode(std::span<const uint8_t> data) { return {le::get_u16(data, 0)}; }

void GlobalStatistics::Encode(std::span<uint8_t> data) const { le::put_u16(data, 0, irq_timeouts); }

ModemStatus ModemStatus::Decode(std::span<const uint8_t> data) { return {data[0]}; }

std::string DecodeCodeVersion(std::span<const uint8_t> reply) {
  reply = reply.first(std::min(reply.size(), kMaxCodeVersion));
  auto end = std::find(reply.begin(), reply.end(), uint8_t{0});
  return std::string(reply.begin(), end);
}

}  // namespace card
