#include "card/active_channels.h"

#include <algorithm>
#include <cstdint>

#include "driver_if/records.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits; a number too wide for 32 bits saturates, so it
// fails the item check instead of wrapping to a small channel.
uint32_t ReadNumber(std::string_view text, size_t& i) {
  uint64_t v = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    v = std::min<uint64_t>(UINT32_MAX, v * 10 + static_cast<uint64_t>(text[i] - '0'));
  return static_cast<uint32_t>(v);
}

bool ItemOk(bool range, uint32_t d, uint32_t e, uint8_t media_type) {
  if (range && d > e) return false;
  if (media_type == kMediaT1) return (range ? d : e) >= 1 && e <= 24;
  return e <= 32;
}

uint32_t Bit(int64_t channel) { return 1u << static_cast<unsigned>(((channel - 1) % 32 + 32) % 32); }

}  // namespace

bool ValidateChannelList(std::string_view text, uint8_t media_type) {
  if (text == "ALL" || text == "NONE" || text.empty()) return true;
  uint32_t e = 0, d = 0;
  bool n = false, r = false;
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (IsDigit(c)) {
      e = ReadNumber(text, i);
      n = true;
      continue;
    }
    if (c == '-') {
      if (!n) return false;
      d = e;
      n = false;
      r = true;
    } else if (c == ',') {
      if (!n || !ItemOk(r, d, e, media_type)) return false;
      n = r = false;
    } else {
      return false;
    }
    ++i;
  }
  if (r && !n) return false;
  if (n && !ItemOk(r, d, e, media_type)) return false;
  return true;
}

uint32_t ConvertChannelList(std::string_view text) {
  if (text == "ALL") return 0xFFFFFFFFu;
  uint32_t bits = 0;
  uint32_t b = 0, start = 0;
  bool have_number = false, range = false;
  auto addItem = [&] {
    if (have_number && !range) bits |= Bit(b);
    if (have_number && range && start <= b) {
      // A span of 32 channels or more covers every bit.
      if (b - start >= 31) bits = 0xFFFFFFFFu;
      else
        for (uint64_t k = start; k <= b; ++k) bits |= Bit(static_cast<int64_t>(k));
    }
    have_number = range = false;
  };
  for (size_t i = 0; i < text.size();) {
    if (IsDigit(text[i])) {
      b = ReadNumber(text, i);
      have_number = true;
      continue;
    }
    if (text[i] == '-') {
      start = b;
      range = true;
    } else {
      addItem();
    }
    ++i;
  }
  addItem();
  return bits;
}
