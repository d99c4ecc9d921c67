#include "monitor/line/dump_file.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

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
  // Where this block starts, to take back a block cut short by a full disk.
  std::optional<std::uintmax_t> before;
  if (std::filesystem::is_regular_file(file, ec)) {
    std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec) before = size;
  } else if (!std::filesystem::exists(file, ec) && !ec) {
    before = 0;
  }
  std::FILE* out = std::fopen(file.string().c_str(), "ab");
  if (out == nullptr) return DumpSaveResult::CannotOpen;
  std::string on_disk;
  on_disk.reserve(block.size() + block.size() / 16);
  for (char c : block) {
    if (c == '\n') on_disk += '\r';
    on_disk += c;
  }
  bool ok = std::fwrite(on_disk.data(), 1, on_disk.size(), out) == on_disk.size();
  ok = std::fflush(out) == 0 && ok;
  ok = std::fclose(out) == 0 && ok;
  if (ok) return DumpSaveResult::Saved;
  // The earlier blocks stay whole, with no broken block after them.
  if (before && std::filesystem::is_regular_file(file, ec)) std::filesystem::resize_file(file, *before, ec);
  return DumpSaveResult::CannotWrite;
}
