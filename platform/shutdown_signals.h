#pragma once
// SIGTERM, SIGINT and SIGHUP turned into a byte on a pipe, so that an event
// loop can shut down in order, as on a normal exit, instead of dying with
// the card still enabled. A second such signal ends the process at once.
// SIGPIPE is ignored: a pipe's reader leaving is an error where it is written.

namespace platform {

// Installs the handlers once per process; false when that failed. The fd is
// readable from the first signal on.
bool InstallShutdownSignals();
int ShutdownSignalFd();
// Empties the pipe; the last signal received, or 0.
int TakeShutdownSignal();

}  // namespace platform
