// Builds without libpcap (Windows) have no filter compiler: every frame is
// kept, and a filter asked for is refused with the reason.
#include "card/capture/bpf_filter.h"

namespace capture {

BpfFilter::BpfFilter() = default;
BpfFilter::~BpfFilter() = default;

std::string BpfFilter::compile(const std::string& expression) {
  if (expression.empty()) return "";
  return "capture filters need libpcap, which this build of talvcap lacks";
}

bool BpfFilter::matches(std::span<const uint8_t>) const { return true; }

}  // namespace capture
