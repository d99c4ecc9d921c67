#pragma once
// Which loop-back test modes a T1/E1 front end has active, read from its
// register bank without changing anything.

#include <cstdint>

#include "card/front_end.h"
#include "card/reply.h"
#include "driver_if/execute.h"

namespace card {

// The front-end register holding one bit per loop-back mode.
inline constexpr uint8_t kLoopbackRegister = 0x03;

struct ActiveLoopbacks {
  uint8_t bits = 0;

  // Bit 0 line, 1 payload, 2 diagnostic digital, 3 loop-back signal.
  bool active(Loopback mode) const { return (bits & (1u << static_cast<unsigned>(mode))) != 0; }
};

Reply<ActiveLoopbacks> ReadActiveLoopbacks(CommandExecutor& exec);

}  // namespace card
