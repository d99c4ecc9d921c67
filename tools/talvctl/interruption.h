#pragma once
// Ctrl+C and SIGTERM as a flag that long-running subcommands look at, so
// they end in order and leave the card as they found it.

#include <chrono>
#include <optional>
#include <thread>

#include "driver_if/card_driver.h"

namespace talvctl {

void InstallInterruptHandlers();
bool Interrupted();

// Sleeps up to `duration`, less when interrupted. False when interrupted.
bool SleepUnlessInterrupted(std::chrono::milliseconds duration);

// Cancels a handle blocked in a request when the program is interrupted or
// the deadline passes; the handle's owner then sees its request fail.
class CancelWhenDue {
 public:
  CancelWhenDue(DeviceHandle& handle, std::optional<std::chrono::steady_clock::time_point> deadline);
  ~CancelWhenDue();  // stops watching
  CancelWhenDue(const CancelWhenDue&) = delete;
  CancelWhenDue& operator=(const CancelWhenDue&) = delete;

 private:
  std::jthread watcher_;
};

}  // namespace talvctl
