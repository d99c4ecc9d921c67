#pragma once
// Commands of the integrated T1/E1 and 56K front ends. They travel with
// ExecuteCommand2K, as the front ends' replies may be longer than 1000 bytes.

#include <cstdint>
#include <string_view>

#include "card/front_end_records.h"
#include "card/reply.h"
#include "driver_if/execute.h"

namespace card {

// What READ_FRONT_END_TYPE reports: kFrontEndNone, kFrontEndT1, kFrontEndE1 or kFrontEnd56K.
Reply<uint8_t> ReadFrontEndType(CommandExecutor& exec);
// "none", "T1", "E1", "56K"; "unknown" for any other value.
std::string_view FrontEndName(uint8_t front_end_type);

Reply<Te1Alarms> ReadTe1Alarms(CommandExecutor& exec);
uint8_t FlushFrontEndCounters(CommandExecutor& exec);
Reply<Status56K> Read56KStatus(CommandExecutor& exec);
Reply<uint8_t> ReadFrontEndRegister(CommandExecutor& exec, uint8_t reg);

// The four loop-back test modes of a T1/E1 front end.
enum class Loopback { kLine, kPayload, kDiagnosticDigital, kRemoteSignal };
inline constexpr Loopback kLoopbacks[] = {Loopback::kLine, Loopback::kPayload,
                                          Loopback::kDiagnosticDigital, Loopback::kRemoteSignal};
// ACTIVATE_LINELB_MODE and its kin.
uint8_t LoopbackCommand(Loopback mode, bool on);
// "line", "payload", "digital", "remote".
std::string_view LoopbackName(Loopback mode);
uint8_t SetLoopback(CommandExecutor& exec, Loopback mode, bool on);

}  // namespace card
