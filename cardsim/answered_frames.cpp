#include "cardsim/answered_frames.h"

#include <algorithm>

namespace cardsim {

void AnsweredFrames::record(std::span<const uint8_t> image) {
  ring_[count_ % kKept].assign(image.begin(), image.end());
  ++count_;
}

std::vector<std::vector<uint8_t>> AnsweredFrames::after(uint64_t delivered) const {
  std::vector<std::vector<uint8_t>> frames;
  const uint64_t oldest = count_ > kKept ? count_ - kKept : 0;
  for (uint64_t i = std::max(delivered, oldest); i < count_; ++i) frames.push_back(ring_[i % kKept]);
  return frames;
}

}  // namespace cardsim
