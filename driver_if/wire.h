#pragma once
// The byte stream between the socket backend and the card simulator daemon.
//   request: u32 code, u32 in_len, u32 out_len, then in_len bytes
//   reply:   u8 ok, u32 returned, then returned bytes (at most out_len)
// Replies come back in request order, so a client may keep several
// requests in flight on one connection.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "driver_if/ioctl_codes.h"

namespace wire {

inline constexpr size_t kRequestHeaderSize = 12;
inline constexpr size_t kReplyHeaderSize = 5;
// The largest buffer either side accepts; anything longer closes the connection.
inline constexpr uint32_t kMaxLength = 16384;

// Requests private to the socket backend and the daemon. They never carry
// the device type 0x22 of the device control codes.
//
// Several received frames in one reply. The 8 bytes in: how much of each
// frame's ReceivedFrame image the reader keeps (at least its header), and
// how long at most to wait for frames, in milliseconds. It waits for a
// first frame as IOCTL_RECEIVE_FRAME does and fails as it does; when the
// time is up with nothing received it succeeds with nothing. The reply is
// a run of frames, each a u32 length and that many bytes of its image.
// The card answers once frames have gathered for a little while or the
// reply is full, so a busy line costs one message per batch rather than
// one per frame.
inline constexpr uint32_t kReceiveFrames = 0x7E000032;
inline constexpr size_t kReceiveFramesInSize = 8;
inline constexpr size_t kBatchFramePrefix = 4;
// A client keeps at most this many of them unanswered: each takes frames off
// the card while the reader is not scheduled, so a reader held up for
// several batches' time loses nothing at the card's short queue: sixteen
// of 256 six-byte frames cover a reader, or a whole host, stopped for
// about 55 ms at twice E1.
inline constexpr size_t kBatchesInFlight = 16;
// Never answered. Its 8 bytes in: how many frames the client delivered on
// the connection. When the connection ends, the daemon gives the frames it
// answered after those back to the card, so a closing reader loses none.
inline constexpr uint32_t kFramesDelivered = 0x7E000001;
inline constexpr size_t kFramesDeliveredSize = 8;

// Whether the reply to a request of this code carries a received frame.
bool IsFrameReply(uint32_t code, bool ok, std::span<const uint8_t> data);

// The frame images of a kReceiveFrames reply, in order; null when the run
// does not end exactly at the end of the reply.
std::optional<std::vector<std::span<const uint8_t>>> SplitFrames(std::span<const uint8_t> reply);

void EncodeFramesDelivered(uint64_t count, std::span<uint8_t, kFramesDeliveredSize> out);
uint64_t DecodeFramesDelivered(std::span<const uint8_t, kFramesDeliveredSize> in);

struct RequestHeader {
  uint32_t code = 0;
  uint32_t in_len = 0;
  uint32_t out_len = 0;
};

struct ReplyHeader {
  bool ok = false;
  uint32_t returned = 0;
};

void EncodeRequestHeader(const RequestHeader& h, std::span<uint8_t, kRequestHeaderSize> out);
// Null when a length is above kMaxLength.
std::optional<RequestHeader> DecodeRequestHeader(std::span<const uint8_t, kRequestHeaderSize> in);

void EncodeReplyHeader(const ReplyHeader& h, std::span<uint8_t, kReplyHeaderSize> out);
// Null unless ok is 0 or 1, returned fits out_len, and a failed request
// carries no data.
std::optional<ReplyHeader> DecodeReplyHeader(std::span<const uint8_t, kReplyHeaderSize> in,
                                             uint32_t out_len);

// Writes every byte of the pieces, in order; false once the peer is gone.
// Never raises SIGPIPE.
bool SendAll(int fd, std::span<const std::span<const uint8_t>> pieces);

// The effective uid of the process at the other end of a connected
// AF_UNIX socket, or -1.
long PeerUid(int fd);

// Reads a stream through a buffer, so a whole message usually costs one
// receive call and bytes of the next message wait for the next read.
class Reader {
 public:
  enum class Status { kOk, kEnd, kFailed };  // kEnd: the peer closed before the first byte

  explicit Reader(int fd) : fd_(fd), buffer_(kBufferSize) {}

  // Exactly out.size() bytes. A stream that ends part way through is kFailed.
  Status readExact(std::span<uint8_t> out);
  // Bytes already read from the stream and not yet taken.
  std::span<const uint8_t> buffered() const { return {buffer_.data() + begin_, end_ - begin_}; }
  // Takes in, without waiting, what has come and fits the buffer.
  void takeInWhatHasCome();

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  // One recv after what is buffered, retried when a signal cuts it short.
  ssize_t receive(int flags);
  ssize_t fill();

  int fd_;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
};

}  // namespace wire
