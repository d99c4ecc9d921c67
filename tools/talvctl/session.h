#pragma once
// What every subcommand works with: where data and errors go, whether JSON
// is wanted, the driver, and how it reports a failure.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "card/device.h"
#include "driver_if/card_driver.h"
#include "tools/talvctl/exit_status.h"

namespace talvctl {

struct Session {
  CardDriver& driver;
  std::ostream& out;
  std::ostream& err;
  std::string command;  // the subcommand, named in every error message
  bool json = false;

  // "talvctl COMMAND: text" on stderr; returns status.
  int fail(int status, std::string_view text) const;
  int usage(std::string_view text) const { return fail(kExitUsage, text); }
  int refused(std::string_view text) const { return fail(kExitCardFailed, text); }
  // A mailbox command the card refused or left unanswered.
  int refused(uint8_t code, uint8_t rc) const;

  // Opens DEV; on failure reports it and leaves the exit status in *status.
  std::unique_ptr<card::Device> open(std::string_view name, int* status) const;
};

// "Error code 0x0A returned on SET_CHDLC_CONFIGURATION", or for an
// unanswered command "Command timeout occurred on READ_CODE_VERSION (return code 0xAA)".
std::string RefusalText(uint8_t code, uint8_t rc);

}  // namespace talvctl
