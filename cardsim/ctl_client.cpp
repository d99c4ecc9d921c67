#include "cardsim/ctl_client.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cardsim {

std::unique_ptr<CtlClient> CtlClient::Connect(const std::string& directory, std::string* error) {
  std::string path = directory + "/" + std::string(kControlSocketName);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    if (error != nullptr) *error = "socket path too long: " + path;
    return nullptr;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (error != nullptr) *error = "cannot connect to " + path + ": " + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<CtlClient>(new CtlClient(fd));
}

CtlClient::~CtlClient() { ::close(fd_); }

CtlReply CtlClient::call(std::string_view line) {
  if (line.find('\n') != std::string_view::npos) return CtlError("a command is one line");
  std::string request(line);
  request += '\n';
  const std::span<const uint8_t> pieces[] = {
      {reinterpret_cast<const uint8_t*>(request.data()), request.size()}};
  if (!wire::SendAll(fd_, pieces)) return CtlError("connection lost");
  std::string reply;
  for (;;) {
    uint8_t byte = 0;
    if (reader_.readExact({&byte, 1}) != wire::Reader::Status::kOk)
      return CtlError("connection lost");
    if (byte == '\n') break;
    reply.push_back(static_cast<char>(byte));
  }
  bool ok = reply == "ok" || reply.starts_with("ok ");
  size_t space = reply.find(' ');
  return {ok, space == std::string::npos ? std::string() : reply.substr(space + 1)};
}

}  // namespace cardsim
