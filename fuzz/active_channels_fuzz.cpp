// The Active Channels grammar over any text, and the conversion of every
// text it accepts: a valid text converts without running away, and on T1
// never sets a bit beyond channel 24 unless it is "ALL".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "driver_if/records.h"
#include "card/active_channels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (uint8_t media : {kMediaT1, kMediaE1}) {
    if (!ValidateChannelList(text, media)) continue;
    uint32_t bits = ConvertChannelList(text);
    if (media == kMediaT1 && text != "ALL" && (bits & 0xFF000000u) != 0) std::abort();
  }
  (void)ConvertChannelList(text);
  return 0;
}
