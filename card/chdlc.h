#pragma once
// The CHDLC firmware's mailbox commands, sent with ExecuteCommand through the
// process's one CommandBlock.

#include <cstdint>
#include <optional>
#include <string>

#include "card/chdlc_records.h"
#include "card/reply.h"
#include "driver_if/execute.h"
#include "driver_if/records.h"

namespace card {

Reply<LinkStatus> ReadLinkStatus(CommandExecutor& exec);

// The statistics reads clear the whole block first, so a failed read decodes zeros.
Reply<OperationalStatistics> ReadOperationalStatistics(CommandExecutor& exec);
uint8_t FlushOperationalStatistics(CommandExecutor& exec);
Reply<CommErrorStatistics> ReadCommErrorStatistics(CommandExecutor& exec);
Reply<GlobalStatistics> ReadGlobalStatistics(CommandExecutor& exec);
uint8_t FlushCommErrorStatistics(CommandExecutor& exec);

Reply<ModemStatus> ReadModemStatus(CommandExecutor& exec);
uint8_t SetModemStatus(CommandExecutor& exec, bool dtr, bool rts);

// "?.??" stands for a version that could not be read.
inline constexpr char kUnknownCodeVersion[] = "?.??";
Reply<std::string> ReadCodeVersion(CommandExecutor& exec);

Reply<StreamingConfig> ReadStreamingConfig(CommandExecutor& exec);
// With ExecuteCommandWithRetry: up to three retries, a timeout asks first.
std::optional<StreamingConfig> ReadStreamingConfigWithRetry(CommandExecutor& exec);
uint8_t SetChdlcConfiguration(CommandExecutor& exec, const StreamingConfig& config);

uint8_t EnableCommunications(CommandExecutor& exec);
uint8_t DisableCommunications(CommandExecutor& exec);

}  // namespace card
