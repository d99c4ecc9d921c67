#include "card/capture/capture_target.h"

#include <cerrno>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace capture {

#ifdef _WIN32

OpenedTarget OpenCaptureTarget(const std::string& path) {
  std::FILE* file = path == kStandardOutput ? stdout : std::fopen(path.c_str(), "wb");
  return {file, file != nullptr ? WriteStatus::Written : WriteStatus::CannotOpen};
}

#else

OpenedTarget OpenCaptureTarget(const std::string& path) {
  int fd = -1;
  if (path == kStandardOutput) {
    fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  } else {
    // O_NONBLOCK makes a FIFO without a reader fail with ENXIO at once.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return {nullptr, errno == ENXIO ? WriteStatus::NoReader : WriteStatus::CannotOpen};
    // Writes wait for a slow reader; the caller keeps them off threads that must not wait.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
      ::close(fd);
      return {};
    }
  }
  if (fd < 0) return {};
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    ::close(fd);
    return {};
  }
  return {file, WriteStatus::Written};
}

#endif

WriteStatus WriteFailure(int error) {
  return error == EPIPE ? WriteStatus::ReaderGone : WriteStatus::CannotWrite;
}

}  // namespace capture
