#include "driver_if/wire.h"

#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "driver_if/le.h"

namespace wire {

bool IsFrameReply(uint32_t code, bool ok, std::span<const uint8_t> data) {
  return code == IOCTL_RECEIVE_FRAME && ok && !data.empty() && data[0] == 1;
}

std::optional<std::vector<std::span<const uint8_t>>> SplitFrames(std::span<const uint8_t> reply) {
  std::vector<std::span<const uint8_t>> frames;
  size_t at = 0;
  while (at < reply.size()) {
    if (reply.size() - at < kBatchFramePrefix) return std::nullopt;
    const uint32_t length = le::get_u32(reply, at);
    at += kBatchFramePrefix;
    if (length > reply.size() - at) return std::nullopt;
    frames.push_back(reply.subspan(at, length));
    at += length;
  }
  return frames;
}

void EncodeFramesDelivered(uint64_t count, std::span<uint8_t, kFramesDeliveredSize> out) {
  le::put_u32(out, 0, static_cast<uint32_t>(count));
  le::put_u32(out, 4, static_cast<uint32_t>(count >> 32));
}

uint64_t DecodeFramesDelivered(std::span<const uint8_t, kFramesDeliveredSize> in) {
  return le::get_u32(in, 0) | (uint64_t{le::get_u32(in, 4)} << 32);
}

void EncodeRequestHeader(const RequestHeader& h, std::span<uint8_t, kRequestHeaderSize> out) {
  le::put_u32(out, 0, h.code);
  le::put_u32(out, 4, h.in_len);
  le::put_u32(out, 8, h.out_len);
}

std::optional<RequestHeader> DecodeRequestHeader(std::span<const uint8_t, kRequestHeaderSize> in) {
  RequestHeader h{le::get_u32(in, 0), le::get_u32(in, 4), le::get_u32(in, 8)};
  if (h.in_len > kMaxLength || h.out_len > kMaxLength) return std::nullopt;
  return h;
}

void EncodeReplyHeader(const ReplyHeader& h, std::span<uint8_t, kReplyHeaderSize> out) {
  le::put_u8(out, 0, h.ok ? 1 : 0);
  le::put_u32(out, 1, h.returned);
}

std::optional<ReplyHeader> DecodeReplyHeader(std::span<const uint8_t, kReplyHeaderSize> in,
                                             uint32_t out_len) {
  uint8_t ok = le::get_u8(in, 0);
  ReplyHeader h{ok == 1, le::get_u32(in, 1)};
  if (ok > 1 || h.returned > out_len || (!h.ok && h.returned != 0)) return std::nullopt;
  return h;
}

bool SendAll(int fd, std::span<const std::span<const uint8_t>> pieces) {
  constexpr size_t kMaxPieces = 4;
  iovec iov[kMaxPieces];
  size_t count = 0;
  for (auto piece : pieces) {
    if (piece.empty()) continue;
    if (count == kMaxPieces) return false;
    iov[count++] = {const_cast<uint8_t*>(piece.data()), piece.size()};
  }
  size_t first = 0;
  while (first < count) {
    msghdr msg{};
    msg.msg_iov = iov + first;
    msg.msg_iovlen = count - first;
    ssize_t sent = sendmsg(fd, &msg, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    auto left = static_cast<size_t>(sent);
    while (first < count && left >= iov[first].iov_len) left -= iov[first++].iov_len;
    if (first < count) {
      iov[first].iov_base = static_cast<uint8_t*>(iov[first].iov_base) + left;
      iov[first].iov_len -= left;
    }
  }
  return true;
}

long PeerUid(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return -1;
  return static_cast<long>(peer.uid);
}

ssize_t Reader::receive(int flags) {
  for (;;) {
    ssize_t got = recv(fd_, buffer_.data() + end_, buffer_.size() - end_, flags);
    if (got < 0 && errno == EINTR) continue;
    if (got > 0) end_ += static_cast<size_t>(got);
    return got;
  }
}

ssize_t Reader::fill() {
  if (begin_ == end_) begin_ = end_ = 0;
  return receive(0);
}

void Reader::takeInWhatHasCome() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  receive(MSG_DONTWAIT);
}

Reader::Status Reader::readExact(std::span<uint8_t> out) {
  size_t done = 0;
  while (done < out.size()) {
    if (begin_ == end_) {
      ssize_t got = fill();
      if (got == 0 && done == 0) return Status::kEnd;
      if (got <= 0) return Status::kFailed;
    }
    size_t n = std::min(out.size() - done, end_ - begin_);
    std::memcpy(out.data() + done, buffer_.data() + begin_, n);
    begin_ += n;
    done += n;
  }
  return Status::kOk;
}

}  // namespace wire
