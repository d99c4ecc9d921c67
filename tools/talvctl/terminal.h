#pragma once
// What watch needs of the terminal: whether output goes to one, and single
// key presses without Enter, the terminal restored afterwards.

#include <chrono>
#include <optional>

namespace talvctl {

bool StdoutIsTerminal();

class KeyReader {
 public:
  KeyReader();   // raw keys when stdin is a terminal; reads nothing otherwise
  ~KeyReader();  // restores the terminal
  KeyReader(const KeyReader&) = delete;
  KeyReader& operator=(const KeyReader&) = delete;

  // A key pressed within `wait`, else nothing (and nothing at once without a terminal).
  std::optional<char> next(std::chrono::milliseconds wait);

 private:
  bool active_ = false;
#ifndef _WIN32
  struct Saved;
  Saved* saved_ = nullptr;
#endif
};

}  // namespace talvctl
