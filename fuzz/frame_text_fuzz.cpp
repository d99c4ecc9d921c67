// The Send Frames hexadecimal rule and the text cut: one byte per token,
// never more bytes than the text has characters, never a split character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "monitor/traffic/frame_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string cut = CutFrameText(text);
  if (cut.size() > kMaxFrameText || text.compare(0, cut.size(), cut) != 0) std::abort();
  if (cut.size() < text.size() && (static_cast<unsigned char>(text[cut.size()]) & 0xC0) == 0x80) std::abort();
  if (HexFrameBytes(cut).size() > cut.size()) std::abort();
  return 0;
}
