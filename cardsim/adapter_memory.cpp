// IOCTL_READ_MEMORY: a stretch of adapter memory, built from the card's
// state when it is read.

#include "cardsim/adapter_memory.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cardsim/card.h"
#include "cardsim/firmware.h"
#include "driver_if/le.h"
#include "driver_if/records.h"

namespace cardsim {

namespace {

constexpr std::string_view kSignature = "TALVSTRM CHDLC STREAMING";

struct Record {
  uint32_t address;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Text(std::string_view text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<uint8_t> U32s(std::initializer_list<uint32_t> values) {
  std::vector<uint8_t> bytes(4 * values.size());
  size_t at = 0;
  for (uint32_t v : values) le::put_u32(bytes, 4 * at++, v);
  return bytes;
}

std::vector<uint8_t> U16s(std::initializer_list<uint16_t> values) {
  std::vector<uint8_t> bytes(2 * values.size());
  size_t at = 0;
  for (uint16_t v : values) le::put_u16(bytes, 2 * at++, v);
  return bytes;
}

std::vector<uint8_t> FrontEndRecord(const CardDescription& description, const FrontEndState& fe) {
  if (description.front_end == FrontEnd::k56K) return U16s({fe.status_56k});
  if (description.front_end == FrontEnd::kNone) return {};
  std::vector<uint8_t> bytes(20);
  le::put_u16(bytes, 0, fe.alarms);
  bytes[2] = static_cast<uint8_t>((fe.line_loopback ? 0x01 : 0) | (fe.payload_loopback ? 0x02 : 0) |
                                  (fe.digital_loopback ? 0x04 : 0) | (fe.loopback_signal ? 0x08 : 0));
  for (size_t i = 0; i < fe.counters.size(); ++i) le::put_u32(bytes, 4 + 4 * i, fe.counters[i]);
  return bytes;
}

std::vector<Record> Records(const CardDescription& description, const CardState& s) {
  const OperationalStats& op = s.op_stats;
  const CommsErrorStats& ce = s.comms_errors;
  std::vector<uint8_t> config(StreamingConfig::kSize);
  if (s.config) std::copy(s.config->begin(), s.config->end(), config.begin());
  std::vector<uint8_t> queue(kMemReceiveQueueSize);
  le::put_u16(queue, 0, s.frames_queued);
  return {
      {kMemSignature, Text(kSignature)},
      {kMemCodeVersion, Text(description.code_version)},
      {kMemConfiguration, std::move(config)},
      {kMemOperationalStats,
       U32s({op.tx_frames, op.tx_bytes, op.tx_throughput, op.tx_throughput_ms, op.tx_discarded_length,
             op.rx_frames, op.rx_bytes, op.rx_throughput, op.rx_throughput_ms, op.rx_discarded_length})},
      {kMemCommsErrors, U16s({ce.rx_overrun, ce.rx_crc, ce.rx_abort, ce.rx_disabled_buffers_full,
                              ce.missed_tx_underrun_irqs, ce.dcd_dropped, ce.cts_dropped})},
      {kMemLink, {s.comms_enabled, s.dtr, s.rts, s.frames_queued}},
      {kMemFrontEnd, FrontEndRecord(description, s.front_end)},
      {kMemReceiveQueue, std::move(queue)},
  };
}

bool ReadMemory(ControlCall& call) {
  if (call.in.size() < MemoryReadRequest::kSize || call.out.size() < MemoryReadRequest::kSize) return false;
  MemoryReadRequest request;
  std::copy_n(call.in.begin(), MemoryReadRequest::kSize, request.bytes().begin());
  const uint32_t offset = request.offset();
  const uint16_t length = request.length();
  uint8_t status = 0;
  if (length == 0 || length > kMaxMemoryRead || offset >= kAdapterMemorySize ||
      length > kAdapterMemorySize - offset)
    status = kMemoryBadRange;
  else if (auto failing = call.card.faults().memoryReadStatus(offset, length))
    status = *failing;
  request.setStatus(status);
  size_t returned = MemoryReadRequest::kDataOffset;
  if (status == 0) {
    call.card.withState([&](const CardState& s) {
      ReadAdapterMemory(call.card.description(), s, offset, request.data().first(length));
    });
    returned += length;
  }
  std::copy_n(request.bytes().begin(), returned, call.out.begin());
  call.returned = static_cast<uint32_t>(returned);
  return true;
}

}  // namespace

uint8_t MemoryPattern(uint32_t address) {
  return static_cast<uint8_t>(address ^ (address >> 8) ^ (address >> 16));
}

void ReadAdapterMemory(const CardDescription& description, const CardState& state, uint32_t offset,
                       std::span<uint8_t> out) {
  for (size_t i = 0; i < out.size(); ++i) out[i] = MemoryPattern(offset + static_cast<uint32_t>(i));
  const uint64_t end = uint64_t{offset} + out.size();
  for (const Record& r : Records(description, state)) {
    const uint64_t from = std::max<uint64_t>(offset, r.address);
    const uint64_t to = std::min<uint64_t>(end, uint64_t{r.address} + r.bytes.size());
    for (uint64_t a = from; a < to; ++a) out[a - offset] = r.bytes[a - r.address];
  }
}

void RegisterAdapterMemory(Firmware& firmware) { firmware.addControl(IOCTL_READ_MEMORY, ReadMemory); }

}  // namespace cardsim
