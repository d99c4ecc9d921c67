// The received-frame summary line and dump over any frame header and bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "monitor/traffic/frame_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  uint8_t bits = data[0];
  uint16_t length = static_cast<uint16_t>(data[1] | data[2] << 8);
  uint16_t stamp = static_cast<uint16_t>(data[3] | data[4] << 8);
  std::span<const uint8_t> bytes(data + 5, size - 5);
  std::string line = SummaryLine(bits, length, stamp, bytes.first(std::min<size_t>(bytes.size(), 15)));
  if (line.size() > 23 + 15 * 3) std::abort();
  std::string dump = FrameDump(bytes);
  if (dump.size() < 2 || dump.compare(dump.size() - 2, 2, "\r\n") != 0) std::abort();
  return 0;
}
