#include "bench/harness.h"

#include <algorithm>

namespace bench {

double RatePerSecond(std::chrono::duration<double> duration, const std::function<bool()>& step) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration_cast<Clock::duration>(duration);
  long calls = 0;
  auto now = start;
  // Look at the clock every few calls only; each call is a few microseconds.
  while (now < end) {
    for (int i = 0; i < 64; ++i) {
      if (!step()) return 0;
      ++calls;
    }
    now = Clock::now();
  }
  return calls / std::chrono::duration<double>(now - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
