#pragma once
// A reply of one daemon connection, header and data, gathered so that it
// goes out in one write.

#include <cstdint>
#include <span>
#include <vector>

namespace cardsim {

class ReplyBatch {
 public:
  explicit ReplyBatch(int fd) : fd_(fd) {}

  void add(bool ok, std::span<const uint8_t> data);
  // Writes what was gathered; false once the peer reads no more.
  bool flush();

 private:
  int fd_;
  std::vector<uint8_t> bytes_;
};

}  // namespace cardsim
