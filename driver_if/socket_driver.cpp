#include "driver_if/socket_driver.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver_if/device_names.h"
#include "driver_if/wire.h"

namespace {

// One connection to the daemon. Sending a request and reading its reply
// are separate steps because replies come back in request order: a reader
// may send several requests first and collect the replies one by one.
class SocketDeviceHandle : public DeviceHandle {
 public:
  explicit SocketDeviceHandle(int fd) : fd_(fd), reader_(fd), incoming_(wire::kMaxLength) {}
  ~SocketDeviceHandle() override { ::close(fd_); }

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    // Requests the wire cannot carry fail here and leave the connection as it is.
    if (in_len > wire::kMaxLength || out_len > wire::kMaxLength ||
        (in == nullptr && in_len != 0) || (out == nullptr && out_len != 0))
      return false;
    if (!sendRequest(code, in, in_len, out_len)) return fail();
    auto result = readReply(out, static_cast<uint32_t>(out_len));
    if (!result) return fail();
    if (returned != nullptr) *returned = result->returned;
    return result->ok;
  }

  void cancel() override {
    dead_ = true;
    ::shutdown(fd_, SHUT_RDWR);
  }

 private:
  bool sendRequest(uint32_t code, const void* in, size_t in_len, size_t out_len) {
    if (dead_) return false;
    std::array<uint8_t, wire::kRequestHeaderSize> header;
    wire::EncodeRequestHeader(
        {code, static_cast<uint32_t>(in_len), static_cast<uint32_t>(out_len)}, header);
    const std::span<const uint8_t> pieces[] = {
        header, {static_cast<const uint8_t*>(in), in_len}};
    return wire::SendAll(fd_, pieces);
  }

  // The reply's bytes go to the start of out; the rest of out is untouched.
  // Nothing reaches out before the whole reply is in: a reply cut short
  // must not leave part of itself behind, such as a return_code of 0.
  std::optional<wire::ReplyHeader> readReply(void* out, uint32_t out_len) {
    std::array<uint8_t, wire::kReplyHeaderSize> header;
    if (reader_.readExact(header) != wire::Reader::Status::kOk) return std::nullopt;
    auto reply = wire::DecodeReplyHeader(header, out_len);
    if (!reply) return std::nullopt;
    std::span<uint8_t> data(incoming_.data(), reply->returned);
    if (reader_.readExact(data) != wire::Reader::Status::kOk) return std::nullopt;
    std::copy(data.begin(), data.end(), static_cast<uint8_t*>(out));
    return reply;
  }

  // A broken stream cannot be resynchronised: the handle is dead from here on.
  bool fail() {
    cancel();
    return false;
  }

  int fd_;
  wire::Reader reader_;
  std::vector<uint8_t> incoming_;
  std::atomic<bool> dead_{false};
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
