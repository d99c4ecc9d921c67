#pragma once
// Transmit and receive throughput over the last minutes, from the byte
// counters Operational Statistics reads: one point a second at most.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class ThroughputHistory {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr size_t kPoints = 300;  // five minutes at one point a second
  static constexpr Clock::duration kInterval = std::chrono::seconds(1);

  // A reading of the card's byte counters; false when no new point came of it.
  bool add(Clock::time_point when, uint32_t tx_bytes, uint32_t rx_bytes);
  void clear() { anchor_.reset(); points_.clear(); }

  std::vector<double> tx() const;  // bytes per second, oldest first
  std::vector<double> rx() const;

 private:
  struct Reading {
    Clock::time_point when;
    uint32_t tx, rx;
  };
  struct Point {
    double tx, rx;
  };
  std::optional<Reading> anchor_;
  std::deque<Point> points_;
};
