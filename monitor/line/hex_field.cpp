#include "monitor/line/hex_field.h"

#include <string>

int32_t ParseHexField(std::string_view text) {
  std::string s(text);
  // Case step: lower case becomes upper case, anything else but digits and
  // capitals shifts down by 32; a space becomes NUL and ends the step.
  for (char& ch : s) {
    auto c = static_cast<unsigned char>(ch);
    bool digit = c >= '0' && c <= '9';
    bool upper = c >= 'A' && c <= 'Z';
    if (digit || upper) continue;
    ch = static_cast<char>(static_cast<unsigned char>(c - 32));
    if (c == ' ') break;
  }
  uint32_t value = 0;
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    int32_t digit = (c >= '0' && c <= '9') ? c - '0' : static_cast<int8_t>(c) - 55;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(value);
}
