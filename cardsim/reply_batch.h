#pragma once
// Replies of one daemon connection gathered so that those ready together
// go out in one write.

#include <cstdint>
#include <span>
#include <vector>

namespace cardsim {

class ReplyBatch {
 public:
  // Beyond this many bytes a batch goes out even when more could follow.
  static constexpr size_t kFlushBytes = 64 * 1024;

  explicit ReplyBatch(int fd) : fd_(fd) {}

  void add(bool ok, std::span<const uint8_t> data);
  bool full() const { return bytes_.size() >= kFlushBytes; }
  // Writes what was gathered; false once the peer reads no more.
  bool flush();

 private:
  int fd_;
  std::vector<uint8_t> bytes_;
};

}  // namespace cardsim
