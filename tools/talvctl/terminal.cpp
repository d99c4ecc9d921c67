#include "tools/talvctl/terminal.h"

#ifdef _WIN32
#include <conio.h>
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <cstdio>

namespace talvctl {

#ifdef _WIN32

bool StdoutIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

KeyReader::KeyReader() : active_(_isatty(_fileno(stdin)) != 0) {}
KeyReader::~KeyReader() = default;

std::optional<char> KeyReader::next(std::chrono::milliseconds wait) {
  if (!active_) return std::nullopt;
  if (WaitForSingleObject(GetStdHandle(STD_INPUT_HANDLE), static_cast<DWORD>(wait.count())) == WAIT_OBJECT_0 &&
      _kbhit())
    return static_cast<char>(_getch());
  return std::nullopt;
}

#else

struct KeyReader::Saved {
  termios attributes;
};

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

KeyReader::KeyReader() {
  termios attributes;
  if (::isatty(STDIN_FILENO) != 1 || ::tcgetattr(STDIN_FILENO, &attributes) != 0) return;
  saved_ = new Saved{attributes};
  attributes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;
  active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &attributes) == 0;
}

KeyReader::~KeyReader() {
  if (active_) ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_->attributes);
  delete saved_;
}

std::optional<char> KeyReader::next(std::chrono::milliseconds wait) {
  if (!active_) return std::nullopt;
  pollfd p{STDIN_FILENO, POLLIN, 0};
  char key = 0;
  if (::poll(&p, 1, static_cast<int>(wait.count())) == 1 && ::read(STDIN_FILENO, &key, 1) == 1) return key;
  return std::nullopt;
}

#endif

}  // namespace talvctl
