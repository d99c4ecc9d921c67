// ParseHexField takes any text: it must never read past it or crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "monitor/line/hex_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)ParseHexField(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
