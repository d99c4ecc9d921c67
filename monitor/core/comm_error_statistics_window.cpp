#include "monitor/core/comm_error_statistics_window.h"

#include <string>

#include "card/chdlc.h"

void CommErrorStatisticsWindow::refresh() {
  // Shown whatever the answer: after a failure the counters are the zeros of the cleared block.
  const card::CommErrorStatistics s = card::ReadCommErrorStatistics(exec_).value;
  const std::pair<int, uint16_t> values[] = {
      {200, s.receiver_overrun}, {201, s.receiver_crc},  {202, s.abort_frames},
      {203, s.receiver_disabled_buffers_full}, {204, s.missed_tx_underrun_interrupts},
      {207, s.dcd_dropped},      {208, s.cts_dropped},
  };
  for (const auto& [id, value] : values) form_->setText(id, std::to_string(value));

  const card::Reply<card::GlobalStatistics> global = card::ReadGlobalStatistics(exec_);
  if (global.ok()) form_->setText(111, std::to_string(global.value.irq_timeouts));
}

void CommErrorStatisticsWindow::onButton(int id) {
  if (id == kFlushButton) card::FlushCommErrorStatistics(exec_);
}
