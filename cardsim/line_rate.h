#pragma once

#include <cstdint>

#include "cardsim/card_description.h"

namespace cardsim {

// The bit rate the card runs its line at when asked for `requested` bps:
// a serial port divides its oscillator down to the nearest rate it can
// make (0 means the line supplies the clock); a front end runs at the rate
// of its line.
uint32_t ActualBitRate(const CardDescription& description, uint32_t requested);

}  // namespace cardsim
