#include "monitor/traffic/frame_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Calls fn(start, length, byte) for each run of non-blank characters.
template <typename Fn>
void ForEachToken(std::string_view text, Fn fn) {
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    unsigned value = 0;
    for (int digits = 0; digits < 2 && i + digits < text.size() && HexDigit(text[i + digits]) >= 0; ++digits)
      value = value * 16 + static_cast<unsigned>(HexDigit(text[i + digits]));
    const size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    fn(start, i - start, static_cast<uint8_t>(value));
  }
}

}  // namespace

std::string CutFrameText(std::string_view text) {
  if (text.size() <= kMaxFrameText) return std::string(text);
  size_t n = kMaxFrameText;
  // Step back over continuation bytes so no character is split.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return std::string(text.substr(0, n));
}

std::vector<uint8_t> HexFrameBytes(std::string_view text) {
  std::vector<uint8_t> bytes;
  ForEachToken(text, [&](size_t, size_t, uint8_t value) { bytes.push_back(value); });
  return bytes;
}

std::vector<NonHexToken> NonHexTokens(std::string_view text) {
  std::vector<NonHexToken> tokens;
  ForEachToken(text, [&](size_t start, size_t length, uint8_t value) {
    for (char c : text.substr(start, length)) {
      if (HexDigit(c) < 0) {
        tokens.push_back({start, length, value});
        return;
      }
    }
  });
  return tokens;
}
