#pragma once
// Return codes of the simulated firmware beyond those the programs name.

#include <cstdint>

namespace cardsim {

inline constexpr uint8_t RC_INVALID_COMMAND = 0x01;
inline constexpr uint8_t RC_BAD_DATA_LENGTH = 0x02;
inline constexpr uint8_t RC_NOT_CONFIGURED = 0x03;
// The reply would not fit the request's output buffer.
inline constexpr uint8_t RC_REPLY_TOO_LONG = 0x04;
// SET_CHDLC_CONFIGURATION with a value the card cannot run with.
inline constexpr uint8_t RC_BAD_CONFIGURATION = 0x05;

}  // namespace cardsim
