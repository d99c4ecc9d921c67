// A device connection of the daemon over any byte stream: requests decoded
// off the socket and answered by a demo card, as talvcard serves them. The
// first byte picks the card. Every request read whole is answered, in
// order, and no reply carries more than its request allows.
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <thread>
#include <vector>

#include "cardsim/card_description.h"
#include "cardsim/device_requests.h"
#include "cardsim/frame_path.h"
#include "cardsim/simulator.h"
#include "driver_if/wire.h"

namespace {

// The replies the stream should get: one per request read whole, but none
// for a delivered count; out_len of each, in order.
std::vector<uint32_t> ExpectedReplies(std::span<const uint8_t> stream) {
  std::vector<uint32_t> out_lens;
  size_t at = 0;
  while (stream.size() - at >= wire::kRequestHeaderSize) {
    auto header = wire::DecodeRequestHeader(stream.subspan(at).first<wire::kRequestHeaderSize>());
    if (!header) break;
    at += wire::kRequestHeaderSize;
    if (stream.size() - at < header->in_len) break;
    at += header->in_len;
    if (header->code != wire::kFramesDelivered) out_lens.push_back(header->out_len);
  }
  return out_lens;
}

void CheckReplies(std::span<const uint8_t> replies, const std::vector<uint32_t>& out_lens) {
  size_t at = 0;
  for (uint32_t out_len : out_lens) {
    if (replies.size() - at < wire::kReplyHeaderSize) std::abort();
    auto header = wire::DecodeReplyHeader(replies.subspan(at).first<wire::kReplyHeaderSize>(), out_len);
    if (!header) std::abort();
    at += wire::kReplyHeaderSize;
    if (replies.size() - at < header->returned) std::abort();
    at += header->returned;
  }
  if (at != replies.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  cardsim::Simulator simulator(cardsim::DemoCards());
  const std::vector<int> indices = simulator.indices();
  cardsim::Card& card = *simulator.card(indices[data[0] % indices.size()]);
  // Frames as fast as they are taken: a blocking receive finds one at once
  // instead of waiting for a line nobody drives here.
  cardsim::GeneratorSettings flood;
  flood.rate = 0;
  flood.size = 16;
  cardsim::StartGenerator(card, flood);
  const std::span<const uint8_t> stream(data + 1, size - 1);

  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) std::abort();
  std::thread writer([&] {
    const std::span<const uint8_t> pieces[] = {stream};
    wire::SendAll(fds[1], pieces);
    ::shutdown(fds[1], SHUT_WR);
  });
  std::vector<uint8_t> replies;
  std::thread reader([&] {
    std::array<uint8_t, 4096> chunk;
    for (ssize_t got; (got = ::read(fds[1], chunk.data(), chunk.size())) > 0;)
      replies.insert(replies.end(), chunk.begin(), chunk.begin() + got);
  });
  {
    cardsim::Session session(card);
    wire::Reader requests(fds[0]);
    cardsim::ReplyBatch batch(fds[0]);
    cardsim::ServeDeviceRequests(card, session, requests, batch);
  }
  ::shutdown(fds[0], SHUT_RDWR);
  writer.join();
  reader.join();
  ::close(fds[0]);
  ::close(fds[1]);
  CheckReplies(replies, ExpectedReplies(stream));
  return 0;
}
