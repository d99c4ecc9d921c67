#include "monitor/line/memory_dump_fields.h"

#include <algorithm>

#include "monitor/line/hex_field.h"

namespace {

constexpr size_t kAddressDigits = 5;
constexpr size_t kLengthDigits = 3;

}  // namespace

MemoryDumpRange ParseMemoryDumpFields(std::string_view address, std::string_view length) {
  MemoryDumpRange r;
  r.offset = static_cast<uint32_t>(ParseHexField(address.substr(0, kAddressDigits)));
  r.length = static_cast<uint16_t>(ParseHexField(length.substr(0, kLengthDigits)));
  if (r.offset >= kAdapterMemoryBytes) {
    r.verdict = MemoryDumpRange::Verdict::kBadOffset;
    return r;
  }
  if (r.length == 0) {
    r.verdict = MemoryDumpRange::Verdict::kBadLength;
    return r;
  }
  if (r.offset + r.length > kAdapterMemoryBytes) {
    r.length = kAdapterMemoryBytes - r.offset;
    r.length_cut = true;
  }
  r.read_length = static_cast<uint16_t>(std::min<uint32_t>(r.length, kMaxMemoryRead));
  return r;
}
