#pragma once
// The FT1 terminal's lines from what the unit sends: CR ends a line, LF is
// dropped, and a line that has reached kMaxLineLength characters ends
// before the next one.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class Ft1LineAssembly {
 public:
  static constexpr size_t kMaxLineLength = 501;

  // Calls completed(line) for each line the characters end, in order.
  void take(std::span<const uint8_t> characters, const std::function<void(std::string_view)>& completed);
  // The line being received.
  const std::string& line() const { return line_; }
  void clear() { line_.clear(); }

 private:
  std::string line_;
};
