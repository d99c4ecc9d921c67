#include "driver_if/socket_driver.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "driver_if/device_names.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/records.h"
#include "driver_if/wire.h"

namespace {

using namespace std::chrono_literals;

// Set in the delivered count once the handle is cancelled.
constexpr uint64_t kCancelled = uint64_t{1} << 63;
// How long a batch request waits for frames before it comes back empty.
constexpr uint32_t kBatchWaitMs = 50;
// How long a closing reader waits for the daemon to take its frames back.
constexpr auto kCloseWait = 1000ms;
// How long cancel() waits for a request going out on another thread.
constexpr auto kCancelSendWait = 100ms;

// Reads and drops what the peer still sends until it closes or time is up.
void AwaitPeerEnd(int fd, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  uint8_t scrap[4096];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return;
    ssize_t got = ::recv(fd, scrap, sizeof scrap, 0);
    if (got == 0 || (got < 0 && errno != EINTR)) return;
  }
}

// One connection to the daemon. Replies come back in request order, so
// sending a request and reading its reply are separate steps.
//
// Reception goes in batches, since a round trip per frame between
// processes costs more than a busy line leaves time for: a receive call
// with no frame in hand asks for every frame ready (wire::kReceiveFrames)
// and later calls hand them out one by one, as the caller expects. While
// they do, the next batch requests are already with the daemon, so the card
// is emptied without waiting for this reader to be scheduled: its receive
// queue lasts only milliseconds at line rate. Those requests wait a bounded
// time, so any other request, which first collects their replies (keeping
// the frames), is never held up for long. Closing tells the daemon how many
// frames were delivered, so it gives the rest back to the card.
class SocketDeviceHandle : public DeviceHandle {
 public:
  explicit SocketDeviceHandle(int fd) : fd_(fd), reader_(fd), incoming_(wire::kMaxLength) {}

  ~SocketDeviceHandle() override {
    const uint64_t state = delivered_.load();
    if ((state & kCancelled) == 0 && !broken_ && (held_frames_ > 0 || batches_in_flight_ > 0)) {
      // Waiting for the daemon to end the connection means it has the frames
      // back before a reader opened next asks for them.
      tellDelivered(state);
      ::shutdown(fd_, SHUT_WR);
      AwaitPeerEnd(fd_, kCloseWait);
    }
    ::close(fd_);
  }

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    // Requests the wire cannot carry fail here and leave the connection as it is.
    if (in_len > wire::kMaxLength || out_len > wire::kMaxLength ||
        (in == nullptr && in_len != 0) || (out == nullptr && out_len != 0))
      return false;
    if (code == IOCTL_RECEIVE_FRAME && in_len == 0 && out_len >= ReceivedFrame::kDataOffset)
      return receive(static_cast<uint8_t*>(out), static_cast<uint32_t>(out_len), returned);
    return request(code, in, in_len, out, static_cast<uint32_t>(out_len), returned);
  }

  void cancel() override {
    const uint64_t before = delivered_.fetch_or(kCancelled);
    if (before & kCancelled) return;
    if (receiving_) tellDelivered(before);
    ::shutdown(fd_, SHUT_RDWR);
  }

 private:
  bool cancelled() const { return (delivered_.load() & kCancelled) != 0; }

  bool request(uint32_t code, const void* in, size_t in_len, void* out, uint32_t out_len,
               uint32_t* returned) {
    if (cancelled() || broken_) return false;
    if (sending_failed_) return fail();
    while (batches_in_flight_ > 0)
      if (!collectBatch()) return fail();
    if (!sendRequest(code, in, in_len, out_len)) return fail();
    auto reply = readReply(out_len);
    if (!reply) return fail();
    std::copy_n(incoming_.begin(), reply->returned, static_cast<uint8_t*>(out));
    if (returned != nullptr) *returned = reply->returned;
    return reply->ok;
  }

  bool receive(uint8_t* out, uint32_t out_len, uint32_t* returned) {
    for (;;) {
      if (cancelled()) return false;
      if (held_frames_ > 0) {
        if (!line_down_) topUpBatches(out_len);
        return deliverHeld(out, out_len, returned);
      }
      if (broken_) return false;
      // Told once, after the frames that came before it.
      if (std::exchange(line_down_, false)) return false;
      topUpBatches(out_len);
      // Requests that went out are answered even when the daemon takes no more.
      if (batches_in_flight_ == 0 || !collectBatch()) return fail();
    }
  }

  void topUpBatches(uint32_t out_len) {
    while (!broken_ && !sending_failed_ && batches_in_flight_ < wire::kBatchesInFlight) {
      if (sendBatchRequest(out_len))
        ++batches_in_flight_;
      else
        sending_failed_ = true;
    }
  }

  bool sendBatchRequest(uint32_t out_len) {
    std::array<uint8_t, wire::kReceiveFramesInSize> in;
    // The reply leaves room for at least one whole image.
    le::put_u32(in, 0, std::min<uint32_t>(out_len, wire::kMaxLength - wire::kBatchFramePrefix));
    le::put_u32(in, 4, kBatchWaitMs);
    receiving_ = true;
    return sendRequest(wire::kReceiveFrames, in.data(), in.size(), wire::kMaxLength);
  }

  // The reply to the oldest batch request in flight: its frames join those in hand.
  // False when the stream broke.
  bool collectBatch() {
    --batches_in_flight_;
    auto reply = readReply(wire::kMaxLength);
    if (!reply) return false;
    if (!reply->ok) {
      line_down_ = true;
      return true;
    }
    const std::span<const uint8_t> run(incoming_.data(), reply->returned);
    auto frames = wire::SplitFrames(run);
    if (!frames) return false;
    if (held_frames_ == 0) {
      held_.clear();
      held_at_ = 0;
    }
    held_.insert(held_.end(), run.begin(), run.end());
    held_frames_ += frames->size();
    return true;
  }

  bool deliverHeld(uint8_t* out, uint32_t out_len, uint32_t* returned) {
    const uint32_t length = le::get_u32(held_, held_at_);
    const std::span<const uint8_t> image(held_.data() + held_at_ + wire::kBatchFramePrefix, length);
    if (!deliverFrame(image, out, out_len, returned)) return false;
    held_at_ += wire::kBatchFramePrefix + length;
    --held_frames_;
    return true;
  }

  // A frame counts as delivered only while the handle is not cancelled;
  // the count is what the daemon is told, so the two can never disagree.
  bool deliverFrame(std::span<const uint8_t> frame, uint8_t* out, uint32_t out_len,
                    uint32_t* returned) {
    uint64_t state = delivered_.load();
    do {
      if (state & kCancelled) return false;
    } while (!delivered_.compare_exchange_weak(state, state + 1));
    const size_t n = std::min<size_t>(frame.size(), out_len);
    std::copy_n(frame.begin(), n, out);
    if (returned != nullptr) *returned = static_cast<uint32_t>(n);
    return true;
  }

  bool sendRequest(uint32_t code, const void* in, size_t in_len, size_t out_len) {
    std::array<uint8_t, wire::kRequestHeaderSize> header;
    wire::EncodeRequestHeader(
        {code, static_cast<uint32_t>(in_len), static_cast<uint32_t>(out_len)}, header);
    const std::span<const uint8_t> pieces[] = {
        header, {static_cast<const uint8_t*>(in), in_len}};
    std::lock_guard lock(send_mutex_);
    return !cancelled() && wire::SendAll(fd_, pieces);
  }

  // Best effort and never blocking: a cancel must end a reader at once.
  void tellDelivered(uint64_t state) {
    std::array<uint8_t, wire::kRequestHeaderSize + wire::kFramesDeliveredSize> message;
    wire::EncodeRequestHeader(
        {wire::kFramesDelivered, wire::kFramesDeliveredSize, 0},
        std::span<uint8_t, wire::kRequestHeaderSize>(message.data(), wire::kRequestHeaderSize));
    wire::EncodeFramesDelivered(
        state & ~kCancelled,
        std::span<uint8_t, wire::kFramesDeliveredSize>(message.data() + wire::kRequestHeaderSize,
                                                        wire::kFramesDeliveredSize));
    // Polled rather than a timed lock: the thread sanitizer cannot follow
    // the clock-based lock a timed mutex uses and reports it falsely.
    std::unique_lock lock(send_mutex_, std::try_to_lock);
    for (auto deadline = std::chrono::steady_clock::now() + kCancelSendWait; !lock.owns_lock();) {
      if (std::chrono::steady_clock::now() >= deadline) return;
      std::this_thread::sleep_for(1ms);
      lock.try_lock();
    }
    [[maybe_unused]] ssize_t sent =
        ::send(fd_, message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  }

  // The reply's bytes land in incoming_. Nothing reaches a caller's buffer
  // before the whole reply is in: a reply cut short must not leave part of
  // itself behind, such as a return_code of 0.
  std::optional<wire::ReplyHeader> readReply(uint32_t out_len) {
    std::array<uint8_t, wire::kReplyHeaderSize> header;
    if (reader_.readExact(header) != wire::Reader::Status::kOk) return std::nullopt;
    auto reply = wire::DecodeReplyHeader(header, out_len);
    if (!reply) return std::nullopt;
    std::span<uint8_t> data(incoming_.data(), reply->returned);
    if (reader_.readExact(data) != wire::Reader::Status::kOk) return std::nullopt;
    return reply;
  }

  // A broken stream cannot be resynchronised. Frames it brought before
  // breaking are still delivered; every request fails from here on.
  bool fail() {
    broken_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    return false;
  }

  int fd_;
  wire::Reader reader_;
  std::vector<uint8_t> incoming_;
  // Frames delivered by receive calls, with kCancelled once cancelled.
  std::atomic<uint64_t> delivered_{0};
  std::atomic<bool> receiving_{false};
  std::mutex send_mutex_;
  // Used by the thread that makes the requests only.
  bool broken_ = false;
  size_t batches_in_flight_ = 0;
  bool sending_failed_ = false;  // the daemon takes no more requests
  bool line_down_ = false;  // the last batch request failed
  // Frames answered and not handed out yet, as the replies carried them.
  std::vector<uint8_t> held_;
  size_t held_at_ = 0;
  size_t held_frames_ = 0;
};

}  // namespace

std::string DefaultDeviceDirectory() {
  if (const char* dir = std::getenv("TALVSTRM_DIR"); dir != nullptr && *dir != '\0') return dir;
  if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run != nullptr && *run != '\0')
    return std::string(run) + "/talvstrm";
  return "/tmp/talvstrm-" + std::to_string(::getuid());
}

SocketCardDriver::SocketCardDriver(std::string directory) : directory_(std::move(directory)) {}

std::unique_ptr<DeviceHandle> SocketCardDriver::open(std::string_view name, uint32_t* error) {
  auto fail = [error](uint32_t code) -> std::unique_ptr<DeviceHandle> {
    if (error != nullptr) *error = code;
    return nullptr;
  };
  // Checked before building a path, so no name can reach outside the directory.
  if (!IsCardDeviceName(name)) return fail(kErrorDeviceNotFound);

  std::string path = directory_ + "/" + std::string(name);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return fail(ENAMETOOLONG);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return fail(static_cast<uint32_t>(errno));
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    int e = errno;
    ::close(fd);
    // A socket left behind by a daemon that is gone is no device either.
    return fail(e == ENOENT || e == ECONNREFUSED ? kErrorDeviceNotFound
                                                 : static_cast<uint32_t>(e));
  }
  // Only a daemon of our own user may pose as the card driver.
  if (wire::PeerUid(fd) != static_cast<long>(::geteuid())) {
    ::close(fd);
    return fail(EACCES);
  }
  return std::make_unique<SocketDeviceHandle>(fd);
}
