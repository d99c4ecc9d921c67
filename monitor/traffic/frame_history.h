#pragma once
// The last ten texts sent from the Send Frames window, kept for the run.

#include <array>
#include <string>
#include <vector>

class FrameHistory {
 public:
  static constexpr size_t kSlots = 10;

  void add(std::string text);
  // Newest first.
  std::vector<std::string> newestFirst() const;

 private:
  std::array<std::string, kSlots> slots_;
  size_t next_ = 0;
  size_t count_ = 0;
};
