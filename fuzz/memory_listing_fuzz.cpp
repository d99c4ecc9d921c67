// The memory dump's two fields and its listing over any texts and bytes.
// Input: address text, NUL, length text, NUL, then the bytes read. An
// accepted range stays inside adapter memory and one read; the listing
// has one "%05X:\t" line per 16 addresses, from the offset rounded down,
// with every byte read in its place.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "monitor/line/memory_dump_fields.h"
#include "monitor/line/memory_listing.h"

namespace {

std::string_view TakeField(std::string_view& input) {
  const size_t end = input.find('\0');
  std::string_view field = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return field;
}

void CheckListing(uint32_t offset, std::span<const uint8_t> bytes) {
  const auto lines = MemoryListing(offset, bytes);
  if (bytes.empty()) {
    if (!lines.empty()) std::abort();
    return;
  }
  const uint32_t first = offset - offset % 16;
  const size_t entries = offset % 16 + bytes.size();
  if (lines.size() != (entries + 15) / 16) std::abort();
  size_t entry = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    char start[16];
    std::snprintf(start, sizeof start, "%05X:\t", static_cast<unsigned>(first + 16 * i));
    const std::string& line = lines[i];
    const std::string_view head(start);
    if (line.compare(0, head.size(), head) != 0) std::abort();
    const size_t count = (line.size() - head.size()) / 3;
    if (head.size() + 3 * count != line.size() || count == 0 || count > 16) std::abort();
    if (i + 1 < lines.size() && count != 16) std::abort();
    for (size_t k = 0; k < count; ++k, ++entry) {
      const uint8_t value = entry < offset % 16 ? 0 : bytes[entry - offset % 16];
      char text[4];
      std::snprintf(text, sizeof text, "%02X ", value);
      if (line.compare(head.size() + 3 * k, 3, text) != 0) std::abort();
    }
  }
  if (entry != entries) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view address = TakeField(input);
  const std::string_view length = TakeField(input);
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  const MemoryDumpRange range = ParseMemoryDumpFields(address, length);
  if (range.verdict == MemoryDumpRange::Verdict::kOk) {
    if (range.offset >= kAdapterMemoryBytes || range.length == 0) std::abort();
    if (range.offset + range.length > kAdapterMemoryBytes) std::abort();
    if (range.read_length == 0 || range.read_length > kMaxMemoryRead || range.read_length > range.length)
      std::abort();
    CheckListing(range.offset, bytes.first(std::min<size_t>(bytes.size(), range.read_length)));
  }
  // The listing itself takes any offset.
  if (bytes.size() >= 4) {
    const uint32_t offset = static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
                            static_cast<uint32_t>(bytes[3]) << 24;
    CheckListing(offset, bytes.subspan(4, std::min<size_t>(bytes.size() - 4, kMaxMemoryRead)));
  }
  return 0;
}
