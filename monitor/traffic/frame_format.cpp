#include "monitor/traffic/frame_format.h"

#include <algorithm>
#include <cstdio>

std::string SummaryLine(uint8_t bits, uint16_t length, uint16_t time_stamp,
                        std::span<const uint8_t> first_bytes) {
  const unsigned data_length = length >= 2 ? length - 2u : 0u;
  char head[48];
  std::snprintf(head, sizeof head, "0x%02X %5u   %5u     ", bits, data_length, time_stamp);
  std::string line = head;
  size_t n = std::min({first_bytes.size(), kSummaryBytes, static_cast<size_t>(data_length)});
  for (size_t i = 0; i < n; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X ", first_bytes[i]);
    line += byte;
  }
  return line;
}

std::string FrameDump(std::span<const uint8_t> bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  const size_t n = std::min(bytes.size(), kMaxDumpBytes);
  std::string dump;
  dump.reserve(n / 16 * 58 + 64);
  for (size_t k = 0; k < n; ++k) {
    if (k % 16 == 0) {
      if (k != 0) dump += "\r\n";
      char offset[8];
      std::snprintf(offset, sizeof offset, "%04X  ", static_cast<unsigned>(k));
      dump += offset;
    }
    dump += kHex[bytes[k] >> 4];
    dump += kHex[bytes[k] & 0xF];
    dump += ' ';
    if ((k + 1) % 8 == 0 && (k + 1) % 16 != 0) dump += "- ";
  }
  dump += "\r\n";
  return dump;
}
