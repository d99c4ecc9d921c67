#include "cardsim/socket_dir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cardsim {

namespace {

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

bool PrepareSocketDirectory(const std::string& directory, std::string* error) {
  if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST)
    return Fail(error, SystemError("cannot create " + directory));
  struct stat st {};
  if (::lstat(directory.c_str(), &st) != 0) return Fail(error, SystemError(directory));
  if (!S_ISDIR(st.st_mode)) return Fail(error, directory + " is not a directory");
  if (st.st_uid != ::geteuid()) return Fail(error, directory + " belongs to another user");
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return Fail(error, directory + " is writable by group or others");
  return true;
}

std::unique_ptr<DirectoryLock> DirectoryLock::Acquire(const std::string& directory,
                                                      std::string* error) {
  std::string path = directory + "/talvcard.lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    Fail(error, SystemError("cannot open " + path));
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    Fail(error, errno == EWOULDBLOCK ? "another talvcard is already serving " + directory
                                     : SystemError("cannot lock " + path));
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<DirectoryLock>(new DirectoryLock(fd));
}

DirectoryLock::~DirectoryLock() { ::close(fd_); }

int ListenOn(const std::string& path, std::string* error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    Fail(error, "socket path too long: " + path);
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  // Safe under the directory lock: nobody else serves these names.
  ::unlink(path.c_str());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    Fail(error, SystemError("socket"));
    return -1;
  }
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 64) != 0) {
    Fail(error, SystemError("cannot listen on " + path));
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace cardsim
