#include "cardsim/reply_batch.h"

#include <array>

#include "driver_if/wire.h"

namespace cardsim {

void ReplyBatch::add(bool ok, std::span<const uint8_t> data) {
  std::array<uint8_t, wire::kReplyHeaderSize> header;
  wire::EncodeReplyHeader({ok, static_cast<uint32_t>(data.size())}, header);
  bytes_.insert(bytes_.end(), header.begin(), header.end());
  bytes_.insert(bytes_.end(), data.begin(), data.end());
}

bool ReplyBatch::flush() {
  if (bytes_.empty()) return true;
  const std::span<const uint8_t> pieces[] = {bytes_};
  bool sent = wire::SendAll(fd_, pieces);
  bytes_.clear();
  return sent;
}

}  // namespace cardsim
