#include "tools/talvcap/overrun_counter.h"

#include "card/chdlc.h"

namespace talvcap {

bool OverrunCounter::start(CommandExecutor& exec) {
  const card::Reply<card::CommErrorStatistics> stats = card::ReadCommErrorStatistics(exec);
  started_ = stats.ok();
  last_ = stats.value.receiver_overrun;
  total_ = 0;
  return started_;
}

void OverrunCounter::update(CommandExecutor& exec) {
  if (!started_) return;
  const card::Reply<card::CommErrorStatistics> stats = card::ReadCommErrorStatistics(exec);
  if (!stats.ok()) return;
  // Unsigned 16-bit arithmetic counts across the wrap.
  total_ += static_cast<uint16_t>(stats.value.receiver_overrun - last_);
  last_ = stats.value.receiver_overrun;
}

}  // namespace talvcap
