// The CHDLC mailbox commands: configuration, code version, communications,
// link status, statistics and modem signals.

#include <algorithm>

#include "cardsim/firmware.h"
#include "cardsim/frame_path.h"
#include "cardsim/line_rate.h"
#include "cardsim/return_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

constexpr uint8_t kModemDcd = 0x08;
constexpr uint8_t kModemCts = 0x20;
constexpr uint8_t kSetDtr = 0x01;
constexpr uint8_t kSetRts = 0x02;
constexpr uint8_t kReceiverDisabled = 1;
constexpr size_t kOperationalStatsSize = 56;
constexpr size_t kCommsErrorStatsSize = 20;

uint8_t ReadCodeVersion(MailboxCall& call) {
  const std::string& version = call.description.code_version;
  std::copy(version.begin(), version.end(), call.reply.begin());
  call.reply_length = version.size();
  return RC_OK;
}

// The limits of the card: a serial line clocks at most 4 Mbit/s (0 takes
// the clock from the line, and T1/E1 cards ignore the rate), frames must
// fit the receive buffer, and both directions need some buffers.
constexpr uint32_t kMaxBaudRate = 4'000'000;
constexpr uint16_t kMaxFrameSize = 13984;

bool CardAccepts(const StreamingConfig& c) {
  return c.baud_rate <= kMaxBaudRate && c.interface <= 1 && (c.modem_options & ~0x3u) == 0 &&
         (c.statistics_options & ~0xFu) == 0 && c.percent_tx_buffers >= 1 &&
         c.percent_tx_buffers <= 99 && c.max_frame_size >= 1 && c.max_frame_size <= kMaxFrameSize;
}

uint8_t SetConfiguration(MailboxCall& call) {
  if (call.data.size() < StreamingConfig::kSize) return RC_BAD_DATA_LENGTH;
  if (!CardAccepts(StreamingConfig::Read(call.data))) return RC_BAD_CONFIGURATION;
  auto& image = call.state.config.emplace();
  std::copy_n(call.data.begin(), image.size(), image.begin());
  return RC_OK;
}

uint8_t ReadConfiguration(MailboxCall& call) {
  if (!call.state.config) return RC_NOT_CONFIGURED;
  const auto& image = *call.state.config;
  std::copy(image.begin(), image.end(), call.reply.begin());
  uint32_t requested = le::get_u32(image, StreamingConfig::kBaudRateOffset);
  le::put_u32(call.reply, StreamingConfig::kBaudRateOffset, ActualBitRate(call.description, requested));
  call.reply_length = image.size();
  return RC_OK;
}

uint8_t EnableCommunications(MailboxCall& call) {
  if (!call.state.config) return RC_NOT_CONFIGURED;
  call.state.comms_enabled = true;
  return RC_OK;
}

uint8_t DisableCommunications(MailboxCall& call) {
  call.state.comms_enabled = false;
  FlushReceivedFrames(call.state);
  return RC_OK;
}

uint8_t ReadLinkStatus(MailboxCall& call) {
  bool active = call.state.comms_enabled;
  call.reply[0] = active ? 1 : 0;
  call.reply[1] = call.state.frames_queued;
  call.reply[2] = active ? 0 : kReceiverDisabled;
  call.reply_length = 3;
  return RC_OK;
}

uint8_t ReadOperationalStats(MailboxCall& call) {
  const OperationalStats& s = call.state.op_stats;
  le::put_u32(call.reply, 0, s.tx_frames);
  le::put_u32(call.reply, 4, s.tx_bytes);
  le::put_u32(call.reply, 8, s.tx_throughput);
  le::put_u32(call.reply, 12, s.tx_throughput_ms);
  le::put_u32(call.reply, 16, s.tx_discarded_length);
  le::put_u32(call.reply, 32, s.rx_frames);
  le::put_u32(call.reply, 36, s.rx_bytes);
  le::put_u32(call.reply, 40, s.rx_throughput);
  le::put_u32(call.reply, 44, s.rx_throughput_ms);
  le::put_u32(call.reply, kRxDiscardedNoBufferOffset, s.rx_discarded_no_buffer);
  le::put_u32(call.reply, 52, s.rx_discarded_length);
  call.reply_length = kOperationalStatsSize;
  return RC_OK;
}

uint8_t FlushOperationalStats(MailboxCall& call) {
  call.state.op_stats = {};
  RestartThroughput(call.state);
  return RC_OK;
}

uint8_t ReadCommsErrorStats(MailboxCall& call) {
  const CommsErrorStats& s = call.state.comms_errors;
  le::put_u16(call.reply, 0, s.rx_overrun);
  le::put_u16(call.reply, 2, s.rx_crc);
  le::put_u16(call.reply, 4, s.rx_abort);
  le::put_u16(call.reply, 6, s.rx_disabled_buffers_full);
  le::put_u16(call.reply, 12, s.missed_tx_underrun_irqs);
  le::put_u16(call.reply, 16, s.dcd_dropped);
  le::put_u16(call.reply, 18, s.cts_dropped);
  call.reply_length = kCommsErrorStatsSize;
  return RC_OK;
}

uint8_t FlushCommsErrorStats(MailboxCall& call) {
  call.state.comms_errors = {};
  return RC_OK;
}

uint8_t ReadGlobalStatistics(MailboxCall& call) {
  le::put_u16(call.reply, 0, call.state.irq_timeouts);
  call.reply_length = 2;
  return RC_OK;
}

// The line's far end loops DTR back to DCD and RTS to CTS.
uint8_t ReadModemStatus(MailboxCall& call) {
  call.reply[0] = static_cast<uint8_t>((call.state.dtr ? kModemDcd : 0) |
                                       (call.state.rts ? kModemCts : 0));
  call.reply_length = 1;
  return RC_OK;
}

uint8_t SetModemStatus(MailboxCall& call) {
  if (call.data.empty()) return RC_BAD_DATA_LENGTH;
  call.state.dtr = (call.data[0] & kSetDtr) != 0;
  call.state.rts = (call.data[0] & kSetRts) != 0;
  return RC_OK;
}

}  // namespace

void RegisterChdlcCommands(Firmware& firmware) {
  firmware.addMailbox(READ_CODE_VERSION, ReadCodeVersion);
  firmware.addMailbox(SET_CHDLC_CONFIGURATION, SetConfiguration);
  firmware.addMailbox(READ_CHDLC_CONFIGURATION, ReadConfiguration);
  firmware.addMailbox(ENABLE_CHDLC_COMMUNICATIONS, EnableCommunications);
  firmware.addMailbox(DISABLE_CHDLC_COMMUNICATIONS, DisableCommunications);
  firmware.addMailbox(READ_CHDLC_LINK_STATUS, ReadLinkStatus);
  firmware.addMailbox(READ_CHDLC_OPERATIONAL_STATS, ReadOperationalStats);
  firmware.addMailbox(FLUSH_CHDLC_OPERATIONAL_STATS, FlushOperationalStats);
  firmware.addMailbox(READ_COMMS_ERROR_STATS, ReadCommsErrorStats);
  firmware.addMailbox(FLUSH_COMMS_ERROR_STATS, FlushCommsErrorStats);
  firmware.addMailbox(READ_GLOBAL_STATISTICS, ReadGlobalStatistics);
  firmware.addMailbox(READ_MODEM_STATUS, ReadModemStatus);
  firmware.addMailbox(SET_MODEM_STATUS, SetModemStatus);
}

}  // namespace cardsim
