#include "monitor/core/comm_error_statistics_window.h"

#include <array>
#include <string>

#include "driver_if/mailbox.h"

namespace {

struct Counter {
  int id;
  size_t offset;
};
constexpr std::array<Counter, 7> kCounters = {{
    {200, 0}, {201, 2}, {202, 4}, {203, 6}, {204, 12}, {207, 16}, {208, 18},
}};

}  // namespace

void CommErrorStatisticsWindow::refresh() {
  CommandBlock& cb = exec_.block();
  cb.clear();
  cb.prepare(READ_COMMS_ERROR_STATS);
  exec_.ExecuteCommand();
  // Shown whatever the answer: after a failure the block holds the zeros of the clear.
  for (const auto& c : kCounters) form_->setText(c.id, std::to_string(le::get_u16(cb.data(), c.offset)));

  cb.clear();
  cb.prepare(READ_GLOBAL_STATISTICS);
  if (exec_.ExecuteCommand() == 0) form_->setText(111, std::to_string(le::get_u16(cb.data(), 0)));
}

void CommErrorStatisticsWindow::onButton(int id) {
  if (id != kFlushButton) return;
  exec_.block().prepare(FLUSH_COMMS_ERROR_STATS);
  exec_.ExecuteCommand();
}
