#pragma once
// SIGTERM, SIGINT and SIGHUP end the program as File > Exit does: the main
// window closes and the program's own exit path runs. Message boxes open or
// shown from then on are answered without waiting for a user.

namespace ui {

class QtHost;
class QtPrompter;

// False when the signals could not be taken over.
bool ShutDownOnSignals(QtHost& host, QtPrompter& prompter);

}  // namespace ui
