#include "tools/talvctl/frame_bytes.h"

#include <cstdio>

#include "tools/talvctl/value_parsing.h"

namespace talvctl {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
}  // namespace

std::variant<std::vector<uint8_t>, std::string> ParseHexBytes(std::string_view text) {
  std::vector<uint8_t> bytes;
  size_t i = 0;
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return bytes;
    size_t end = i;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::string_view token = text.substr(i, end - i);
    const std::optional<uint32_t> value = token.size() <= 2 ? ParseHex(token, 0xFF) : std::nullopt;
    if (!value)
      return "bad hex token \"" + std::string(token) + "\" (byte " + std::to_string(bytes.size() + 1) +
             "): each byte is one or two hexadecimal digits";
    bytes.push_back(static_cast<uint8_t>(*value));
    i = end;
  }
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
  std::string text;
  text.reserve(count * 3);
  char hex[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += hex;
  }
  return text;
}

}  // namespace talvctl
