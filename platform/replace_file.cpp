#include "platform/replace_file.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include <fstream>

namespace platform {

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string temp = path + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace platform

#else

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// The file a link chain ends at; the path itself when it is no link or is
// missing. A dangling link names the file it will create.
std::string Target(const std::string& path) {
  std::error_code ec;
  std::filesystem::path at = path;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(at, ec); ++hops) {
    const std::filesystem::path next = std::filesystem::read_symlink(at, ec);
    if (ec) break;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return at.string();
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t n = ::write(fd, contents.data(), contents.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    contents.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string target = Target(path);
  std::string temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat old {};
  bool ok = true;
  if (::stat(target.c_str(), &old) == 0) {
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    // Only root can give a file away; others keep what they can, the contents first.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ::fchmod(fd, 0666 & ~mask) == 0;
  }
  ok = ok && WriteAll(fd, contents) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace platform

#endif
