#include "tools/talvctl/communications.h"

#include "card/chdlc.h"
#include "driver_if/mailbox.h"

namespace talvctl {

namespace {
constexpr int kDisableAttempts = 21;
}

uint8_t DisableCommunicationsPersistently(CommandExecutor& exec) {
  uint8_t rc = RC_PRESET_TIMEOUT;
  for (int attempt = 0; attempt < kDisableAttempts && rc != RC_OK; ++attempt) rc = card::DisableCommunications(exec);
  return rc;
}

}  // namespace talvctl
