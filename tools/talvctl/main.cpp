#include <iostream>

#include "driver_if/default_driver.h"
#include "tools/talvctl/cli.h"
#include "tools/talvctl/interruption.h"

#ifndef _WIN32
#include <csignal>
#endif

int main(int argc, char** argv) {
  talvctl::InstallInterruptHandlers();
#ifndef _WIN32
  // A reader of our stdout that goes away is a write error, not a death.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  const int status = talvctl::RunCommandLine(argc, argv, *driver, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
