#pragma once
// The last frames a daemon connection was answered with. When the client
// closes, it says how many frames it delivered; those answered after them
// never reached anyone and go back to the card.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace cardsim {

class AnsweredFrames {
 public:
  // More than a client keeps undelivered: the rest of the batch in hand and
  // the batches answered behind it (wire::kBatchesInFlight of kMaxBatchFrames
  // at most each).
  static constexpr size_t kKept = 8192;

  void record(std::span<const uint8_t> image);
  // The frames answered after the first `delivered`, oldest first.
  std::vector<std::vector<uint8_t>> after(uint64_t delivered) const;

 private:
  std::array<std::vector<uint8_t>, kKept> ring_;
  uint64_t count_ = 0;
};

}  // namespace cardsim
