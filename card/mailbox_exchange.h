#pragma once
// One mailbox command through the process's CommandBlock: the code and its
// data set, the exchange made, the return code given back.

#include <cstdint>
#include <span>

#include "driver_if/execute.h"

namespace card {

// With ExecuteCommand (replies of up to 1000 bytes, shown in the polling window).
uint8_t Exchange(CommandExecutor& exec, uint8_t code, std::span<const uint8_t> payload = {});
// With ExecuteCommand2K (the whole block, shown nowhere).
uint8_t Exchange2K(CommandExecutor& exec, uint8_t code, std::span<const uint8_t> payload = {});

// The reply's data bytes, bounded by what an ExecuteCommand reply can carry.
std::span<const uint8_t> ReplyData(const CommandExecutor& exec);

}  // namespace card
