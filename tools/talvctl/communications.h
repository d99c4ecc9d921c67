#pragma once

#include <cstdint>

#include "driver_if/execute.h"

namespace talvctl {

// DISABLE_CHDLC_COMMUNICATIONS, repeated while refused up to 20 more times,
// as talvmon does; the last return code.
uint8_t DisableCommunicationsPersistently(CommandExecutor& exec);

}  // namespace talvctl
