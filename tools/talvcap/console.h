#pragma once
// What the process needs from its platform: stop requests from signals,
// writes to a reader that left failing instead of killing the process, and
// whether a stream is a terminal.

#include <cstdio>
#include <string>

namespace talvcap {

// Interrupt and termination set the stop request; a broken pipe becomes a
// write error.
void InstallStopHandlers();
bool StopRequested();

bool IsTerminal(std::FILE* stream);

// An analyser waiting to open a FIFO for reading shows our error message
// only once the FIFO is opened and closed again: do that, without writing.
// Gives up after a few seconds when nobody opens it.
void ReleaseWaitingReader(const std::string& fifo);

}  // namespace talvcap
