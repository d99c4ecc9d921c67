#include "monitor/core/throughput_history.h"

namespace {

// Bytes counted since the anchor; a counter below the anchor was flushed
// and counts from zero again.
double Grown(uint32_t now, uint32_t before) { return now >= before ? now - before : now; }

}  // namespace

bool ThroughputHistory::add(Clock::time_point when, uint32_t tx_bytes, uint32_t rx_bytes) {
  if (!anchor_ || when < anchor_->when) {
    anchor_ = Reading{when, tx_bytes, rx_bytes};
    return false;
  }
  const auto elapsed = when - anchor_->when;
  if (elapsed < kInterval) return false;
  const double seconds = std::chrono::duration<double>(elapsed).count();
  points_.push_back({Grown(tx_bytes, anchor_->tx) / seconds, Grown(rx_bytes, anchor_->rx) / seconds});
  if (points_.size() > kPoints) points_.pop_front();
  anchor_ = Reading{when, tx_bytes, rx_bytes};
  return true;
}

std::vector<double> ThroughputHistory::tx() const {
  std::vector<double> v;
  for (const auto& p : points_) v.push_back(p.tx);
  return v;
}

std::vector<double> ThroughputHistory::rx() const {
  std::vector<double> v;
  for (const auto& p : points_) v.push_back(p.rx);
  return v;
}
