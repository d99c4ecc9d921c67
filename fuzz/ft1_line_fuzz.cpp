// The FT1 terminal's line assembly over any characters, in chunks as the
// unit's replies bring them (the first byte of each chunk is its length).
// No line is longer than the limit or holds a CR or LF, and the lines
// together are exactly what came in, less CR and LF.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "monitor/line/ft1_line_assembly.h"

namespace {

void CheckLine(std::string_view line) {
  if (line.size() > Ft1LineAssembly::kMaxLineLength) std::abort();
  if (line.find_first_of("\r\n") != std::string_view::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Ft1LineAssembly lines;
  std::string shown;
  std::string sent;
  std::span<const uint8_t> input(data, size);
  while (!input.empty()) {
    const size_t length = std::min<size_t>(input[0], input.size() - 1);
    const auto chunk = input.subspan(1, length);
    input = input.subspan(1 + length);
    for (uint8_t ch : chunk)
      if (ch != '\r' && ch != '\n') sent.push_back(static_cast<char>(ch));
    lines.take(chunk, [&](std::string_view line) {
      CheckLine(line);
      shown += line;
    });
    CheckLine(lines.line());
  }
  if (shown + lines.line() != sent) std::abort();
  return 0;
}
