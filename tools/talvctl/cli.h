#pragma once

#include <ostream>

#include "driver_if/card_driver.h"

namespace talvctl {

// Parses the command line and runs the subcommand; the exit status.
int RunCommandLine(int argc, const char* const* argv, CardDriver& driver, std::ostream& out, std::ostream& err);

}  // namespace talvctl
