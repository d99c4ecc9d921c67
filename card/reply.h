#pragma once
// What a mailbox command gives back: the firmware's return code and the
// record decoded from the reply. The record is decoded whatever the code,
// since some windows show what the block holds even after a failure.

#include <cstdint>

#include "driver_if/mailbox.h"

namespace card {

template <class Record>
struct Reply {
  uint8_t rc = RC_PRESET_TIMEOUT;
  Record value{};

  bool ok() const { return rc == RC_OK; }
};

}  // namespace card
