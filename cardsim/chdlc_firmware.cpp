// The CHDLC mailbox commands: configuration, code version, communications,
// link status, statistics and modem signals.

#include <algorithm>

#include "card/chdlc_records.h"
#include "cardsim/firmware.h"
#include "cardsim/frame_path.h"
#include "cardsim/line_rate.h"
#include "cardsim/return_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

using card::ModemStatus;

constexpr uint8_t kReceiverDisabled = 1;

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
  const bool active = call.state.comms_enabled;
  const card::LinkStatus link{active ? card::LinkStatus::kActive : card::LinkStatus::kInactive,
                              call.state.frames_queued, active ? uint8_t{0} : kReceiverDisabled};
  link.Encode(call.reply);
  call.reply_length = 3;
  return RC_OK;
}

uint8_t ReadOperationalStats(MailboxCall& call) {
  const OperationalStats& s = call.state.op_stats;
  const card::OperationalStatistics stats{s.tx_frames,       s.tx_bytes,           s.tx_throughput,
                                          s.tx_throughput_ms, s.tx_discarded_length, s.rx_frames,
                                          s.rx_bytes,        s.rx_throughput,      s.rx_throughput_ms,
                                          s.rx_discarded_length, s.rx_discarded_no_buffer};
  stats.Encode(call.reply);
  call.reply_length = card::OperationalStatistics::kSize;
  return RC_OK;
}

uint8_t FlushOperationalStats(MailboxCall& call) {
  call.state.op_stats = {};
  RestartThroughput(call.state);
  return RC_OK;
}

uint8_t ReadCommsErrorStats(MailboxCall& call) {
  const CommsErrorStats& s = call.state.comms_errors;
  const card::CommErrorStatistics errors{s.rx_overrun,  s.rx_crc,      s.rx_abort, s.rx_disabled_buffers_full,
                                         s.missed_tx_underrun_irqs, s.dcd_dropped, s.cts_dropped};
  errors.Encode(call.reply);
  call.reply_length = card::CommErrorStatistics::kSize;
  return RC_OK;
}

uint8_t FlushCommsErrorStats(MailboxCall& call) {
  call.state.comms_errors = {};
  return RC_OK;
}

uint8_t ReadGlobalStatistics(MailboxCall& call) {
  card::GlobalStatistics{call.state.irq_timeouts}.Encode(call.reply);
  call.reply_length = card::GlobalStatistics::kSize;
  return RC_OK;
}

// The line's far end loops DTR back to DCD and RTS to CTS.
uint8_t ReadModemStatus(MailboxCall& call) {
  call.reply[0] = static_cast<uint8_t>((call.state.dtr ? ModemStatus::kDcd : 0) |
                                       (call.state.rts ? ModemStatus::kCts : 0));
  call.reply_length = 1;
  return RC_OK;
}

uint8_t SetModemStatus(MailboxCall& call) {
  if (call.data.empty()) return RC_BAD_DATA_LENGTH;
  call.state.dtr = (call.data[0] & ModemStatus::kSetDtr) != 0;
  call.state.rts = (call.data[0] & ModemStatus::kSetRts) != 0;
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
