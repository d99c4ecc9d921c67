#include "monitor/line/ft1_line_assembly.h"

void Ft1LineAssembly::take(std::span<const uint8_t> characters,
                           const std::function<void(std::string_view)>& completed) {
  auto complete = [&] {
    completed(line_);
    line_.clear();
  };
  for (uint8_t ch : characters) {
    if (ch == '\n') continue;
    if (ch == '\r') {
      complete();
      continue;
    }
    if (line_.size() >= kMaxLineLength) complete();
    line_.push_back(static_cast<char>(ch));
  }
}
