#include "monitor/traffic/frame_history.h"

void FrameHistory::add(std::string text) {
  slots_[next_] = std::move(text);
  next_ = (next_ + 1) % kSlots;
  if (count_ < kSlots) ++count_;
}

std::vector<std::string> FrameHistory::newestFirst() const {
  std::vector<std::string> out;
  for (size_t i = 1; i <= count_; ++i) out.push_back(slots_[(next_ + kSlots - i) % kSlots]);
  return out;
}
