#include "cardsim/device_requests.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "cardsim/answered_frames.h"
#include "cardsim/frame_path.h"
#include "driver_if/le.h"

namespace cardsim {

static_assert(AnsweredFrames::kKept >= (wire::kBatchesInFlight + 1) * kMaxBatchFrames);

namespace {

// Batch receive requests at the head of what has come: requests the card
// holds, as a driver holds them queued.
size_t BatchRequestsWaiting(std::span<const uint8_t> bytes) {
  size_t n = 0;
  while (bytes.size() >= wire::kRequestHeaderSize) {
    auto request = wire::DecodeRequestHeader(bytes.first<wire::kRequestHeaderSize>());
    if (!request || request->code != wire::kReceiveFrames ||
        bytes.size() < wire::kRequestHeaderSize + request->in_len)
      break;
    ++n;
    bytes = bytes.subspan(wire::kRequestHeaderSize + request->in_len);
  }
  return n;
}

}  // namespace

void ServeDeviceRequests(Card& card, Session& session, wire::Reader& reader, ReplyBatch& replies) {
  AnsweredFrames answered;
  std::optional<uint64_t> delivered;
  bool peer_reads = true;
  std::vector<uint8_t> in;
  std::vector<uint8_t> out;
  for (;;) {
    std::array<uint8_t, wire::kRequestHeaderSize> head;
    if (reader.readExact(head) != wire::Reader::Status::kOk) break;
    auto request = wire::DecodeRequestHeader(head);
    if (!request) break;
    in.resize(request->in_len);
    if (!in.empty() && reader.readExact(in) != wire::Reader::Status::kOk) break;
    if (request->code == wire::kFramesDelivered) {
      if (in.size() == wire::kFramesDeliveredSize)
        delivered = wire::DecodeFramesDelivered(std::span<const uint8_t, wire::kFramesDeliveredSize>(in));
      continue;
    }
    // Nothing more is done for a client that reads no more; only its count is still wanted.
    if (!peer_reads) continue;
    // Handlers write only the bytes they return; nothing else goes back.
    out.resize(request->out_len);
    uint32_t returned = 0;
    bool ok = card.control(session, request->code, in, out, &returned);
    if (!ok) returned = 0;
    auto data = std::span(out).first(std::min<uint32_t>(returned, request->out_len));
    if (wire::IsFrameReply(request->code, ok, data)) answered.record(data);
    if (request->code == wire::kReceiveFrames && ok) {
      // The handler wrote nothing else; a run it could not split is a fault of ours.
      for (auto image : wire::SplitFrames(data).value_or(std::vector<std::span<const uint8_t>>{}))
        answered.record(image);
    }
    replies.add(ok, data);
    if (!replies.flush()) peer_reads = false;
    reader.takeInWhatHasCome();
    session.setQueued(BatchRequestsWaiting(reader.buffered()));
  }
  if (delivered) GiveBackFrames(card, answered.after(*delivered));
}

}  // namespace cardsim
