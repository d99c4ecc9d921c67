#include "monitor/line/ft1_monitor_flags.h"

uint8_t Ft1MonitorFlags::change(CommandExecutor& exec, uint8_t set, uint8_t clear) {
  value_ = static_cast<uint8_t>((value_ & ~clear) | set);
  return card::SendFt1MonitorFlags(exec, value_);
}
