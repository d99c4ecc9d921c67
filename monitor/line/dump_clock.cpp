#include "monitor/line/dump_clock.h"

#include <ctime>

namespace {

std::string Format(const std::tm& local, const char* format) {
  char text[16];
  size_t n = std::strftime(text, sizeof text, format, &local);
  return std::string(text, n);
}

}  // namespace

DumpStamp SystemDumpClock::now() const {
  // One reading for both, so a save at midnight never mixes two days.
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {Format(local, "%m/%d/%y"), Format(local, "%H:%M:%S")};
}
