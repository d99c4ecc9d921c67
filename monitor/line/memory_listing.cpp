#include "monitor/line/memory_listing.h"

#include <cstdio>

namespace {

constexpr uint32_t kBytesPerLine = 16;

std::string LineStart(uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%05X:\t", static_cast<unsigned>(address));
  return text;
}

void AddEntry(std::string& line, uint8_t value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X ", value);
  line += text;
}

}  // namespace

std::vector<std::string> MemoryListing(uint32_t offset, std::span<const uint8_t> bytes) {
  std::vector<std::string> lines;
  if (bytes.empty()) return lines;
  uint32_t address = offset - offset % kBytesPerLine;
  std::string line = LineStart(address);
  for (; address < offset; ++address) AddEntry(line, 0);
  for (size_t i = 0; i < bytes.size(); ++i, ++address) {
    AddEntry(line, bytes[i]);
    const bool last = i + 1 == bytes.size();
    if (address % kBytesPerLine == kBytesPerLine - 1 || last) {
      lines.push_back(std::move(line));
      if (!last) line = LineStart(address + 1);
    }
  }
  return lines;
}
