#pragma once
// What talvctl's exit status tells a script.

enum ExitStatus : int {
  kExitOk = 0,
  kExitCardFailed = 1,  // the card or driver refused or failed a request
  kExitUsage = 2,       // bad command line
  kExitNoDevice = 3,    // no such device, or the driver is not there
};
