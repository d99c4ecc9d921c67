#include "tools/talvctl/interruption.h"

#include <atomic>
#include <csignal>

namespace talvctl {

namespace {

using namespace std::chrono_literals;

// How often a wait looks at the flag; a signal handler may only set it.
constexpr auto kLookInterval = 20ms;

// Lock-free, so the handler may set it and the watcher thread read it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) { interrupted.store(true); }

}  // namespace

void InstallInterruptHandlers() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() { return interrupted.load(); }

bool SleepUnlessInterrupted(std::chrono::milliseconds duration) {
  const auto until = std::chrono::steady_clock::now() + duration;
  while (!Interrupted()) {
    const auto left = until - std::chrono::steady_clock::now();
    if (left <= 0ms) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kLookInterval));
  }
  return false;
}

CancelWhenDue::CancelWhenDue(DeviceHandle& handle, std::optional<std::chrono::steady_clock::time_point> deadline)
    : watcher_([&handle, deadline](std::stop_token stop) {
        while (!stop.stop_requested()) {
          if (Interrupted() || (deadline && std::chrono::steady_clock::now() >= *deadline)) {
            handle.cancel();
            return;
          }
          std::this_thread::sleep_for(kLookInterval);
        }
      }) {}

CancelWhenDue::~CancelWhenDue() {
  watcher_.request_stop();
  watcher_.join();
}

}  // namespace talvctl
