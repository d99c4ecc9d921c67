#include "monitor/line/ft1_monitor_flags.h"

#include "driver_if/mailbox.h"

uint8_t SendFt1MonitorFlags(CommandExecutor& exec, uint8_t flags) {
  const uint8_t payload[] = {flags};
  exec.block().prepare(SET_FT1_MONITOR_FLAGS, payload);
  return exec.ExecuteCommand();
}

uint8_t Ft1MonitorFlags::change(CommandExecutor& exec, uint8_t set, uint8_t clear) {
  value_ = static_cast<uint8_t>((value_ & ~clear) | set);
  return SendFt1MonitorFlags(exec, value_);
}
