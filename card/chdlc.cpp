#include "card/chdlc.h"

#include <array>

#include "card/mailbox_exchange.h"
#include "driver_if/mailbox.h"

namespace card {

namespace {

template <class Record>
Reply<Record> Read(CommandExecutor& exec, uint8_t code) {
  const uint8_t rc = Exchange(exec, code);
  return {rc, Record::Decode(exec.block().data())};
}

template <class Record>
Reply<Record> ReadCleared(CommandExecutor& exec, uint8_t code) {
  exec.block().clear();
  return Read<Record>(exec, code);
}

}  // namespace

Reply<LinkStatus> ReadLinkStatus(CommandExecutor& exec) { return Read<LinkStatus>(exec, READ_CHDLC_LINK_STATUS); }

Reply<OperationalStatistics> ReadOperationalStatistics(CommandExecutor& exec) {
  return ReadCleared<OperationalStatistics>(exec, READ_CHDLC_OPERATIONAL_STATS);
}

uint8_t FlushOperationalStatistics(CommandExecutor& exec) { return Exchange(exec, FLUSH_CHDLC_OPERATIONAL_STATS); }

Reply<CommErrorStatistics> ReadCommErrorStatistics(CommandExecutor& exec) {
  return ReadCleared<CommErrorStatistics>(exec, READ_COMMS_ERROR_STATS);
}

Reply<GlobalStatistics> ReadGlobalStatistics(CommandExecutor& exec) {
  return ReadCleared<GlobalStatistics>(exec, READ_GLOBAL_STATISTICS);
}

uint8_t FlushCommErrorStatistics(CommandExecutor& exec) { return Exchange(exec, FLUSH_COMMS_ERROR_STATS); }

Reply<ModemStatus> ReadModemStatus(CommandExecutor& exec) { return Read<ModemStatus>(exec, READ_MODEM_STATUS); }

uint8_t SetModemStatus(CommandExecutor& exec, bool dtr, bool rts) {
  const uint8_t payload[] = {static_cast<uint8_t>((dtr ? ModemStatus::kSetDtr : 0) | (rts ? ModemStatus::kSetRts : 0))};
  return Exchange(exec, SET_MODEM_STATUS, payload);
}

Reply<std::string> ReadCodeVersion(CommandExecutor& exec) {
  const uint8_t rc = Exchange(exec, READ_CODE_VERSION);
  if (rc != RC_OK) return {rc, kUnknownCodeVersion};
  return {rc, DecodeCodeVersion(ReplyData(exec))};
}

Reply<StreamingConfig> ReadStreamingConfig(CommandExecutor& exec) {
  const uint8_t rc = Exchange(exec, READ_CHDLC_CONFIGURATION);
  return {rc, StreamingConfig::Read(exec.block().data())};
}

std::optional<StreamingConfig> ReadStreamingConfigWithRetry(CommandExecutor& exec) {
  exec.block().prepare(READ_CHDLC_CONFIGURATION);
  if (!exec.ExecuteCommandWithRetry()) return std::nullopt;
  return StreamingConfig::Read(exec.block().data());
}

uint8_t SetChdlcConfiguration(CommandExecutor& exec, const StreamingConfig& config) {
  std::array<uint8_t, StreamingConfig::kSize> image{};
  config.Write(image);
  return Exchange(exec, SET_CHDLC_CONFIGURATION, image);
}

uint8_t EnableCommunications(CommandExecutor& exec) { return Exchange(exec, ENABLE_CHDLC_COMMUNICATIONS); }

uint8_t DisableCommunications(CommandExecutor& exec) { return Exchange(exec, DISABLE_CHDLC_COMMUNICATIONS); }

}  // namespace card
