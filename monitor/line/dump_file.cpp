#include "monitor/line/dump_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#endif
#include <unistd.h>

namespace {

#ifdef _WIN32
// The line ends are written as they are: no text-mode translation.
constexpr int kAppendFlags = O_WRONLY | O_CREAT | O_APPEND | O_BINARY;
#else
constexpr int kAppendFlags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC;
#endif

std::optional<std::filesystem::path> FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

#ifdef _WIN32

std::optional<std::filesystem::path> DriversFolder() {
  // Sized by asking first: the system directory has no fixed length limit here.
  UINT needed = GetSystemDirectoryA(nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::string system(needed, '\0');
  UINT length = GetSystemDirectoryA(system.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  system.resize(length);
  return std::filesystem::path(system) / "drivers";
}

#else

std::optional<std::filesystem::path> HomeFolder() {
  if (auto home = FromEnvironment("HOME")) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::string buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || *found->pw_dir == '\0')
    return std::nullopt;
  return std::filesystem::path(found->pw_dir);
}

std::optional<std::filesystem::path> DriversFolder() {
  std::optional<std::filesystem::path> data = FromEnvironment("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and ignored.
  if (!data || data->is_relative()) {
    auto home = HomeFolder();
    if (!home) return std::nullopt;
    data = *home / ".local" / "share";
  }
  return *data / "talvmon" / "drivers";
}

#endif

}  // namespace

std::optional<std::filesystem::path> DumpFilePath() {
  std::optional<std::filesystem::path> folder = FromEnvironment("TALVMON_DUMP_DIR");
  if (!folder) folder = DriversFolder();
  if (!folder) return std::nullopt;
  return *folder / kDumpFileName;
}

std::string DumpBlock(const DumpStamp& stamp, const std::vector<std::string>& lines) {
  std::string block = "System date : " + stamp.date + " System time : " + stamp.time + "\n";
  block += "\n----Memory Dump----\n";
  for (const auto& line : lines) block += "\n" + line;
  block += "\n\n----End of Memory Dump----\n";
  return block;
}

DumpSaveResult AppendDumpBlock(const std::filesystem::path& file, std::string_view block) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  const int fd = ::open(file.string().c_str(), kAppendFlags, 0666);
  if (fd < 0) return DumpSaveResult::CannotOpen;
  std::string on_disk;
  on_disk.reserve(block.size() + block.size() / 16);
  for (char c : block) {
    if (c == '\n') on_disk += '\r';
    on_disk += c;
  }
  // One write: the block lands whole after whatever another writer appended.
  struct stat before {};
  const bool sized = ::fstat(fd, &before) == 0;
  ssize_t written = ::write(fd, on_disk.data(), on_disk.size());
  while (written < 0 && errno == EINTR) written = ::write(fd, on_disk.data(), on_disk.size());
  const bool ok = written == static_cast<ssize_t>(on_disk.size());
  struct stat after {};
  // Take back a block cut short, unless someone else has appended since.
  if (!ok && written > 0 && sized && ::fstat(fd, &after) == 0 && after.st_size == before.st_size + written)
    [[maybe_unused]] const int ignored = ::ftruncate(fd, before.st_size);
  const bool closed = ::close(fd) == 0;
  return ok && closed ? DumpSaveResult::Saved : DumpSaveResult::CannotWrite;
}
