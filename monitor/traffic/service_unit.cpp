#include "monitor/traffic/service_unit.h"

#include "driver_if/mailbox.h"
#include "monitor/core/menu_ids.h"
#include "monitor/line/ft1_monitor_flags.h"

void ServiceUnit::Detect(CommandExecutor& exec) {
  CommandBlock& cb = exec.block();
  cb.prepare(READ_FRONT_END_TYPE);
  exec.ExecuteCommand2K();
  if (cb.returnCode() == 0) {
    front_end_type_ = cb.data()[0] <= kFrontEnd56K ? cb.data()[0] : kFrontEndNone;
    if (front_end_type_ != kFrontEndNone) return;
  } else if (front_end_type_ != kFrontEndNone) {
    return;
  }
  ft1_present_ = SendFt1MonitorFlags(exec, FT1_STATUS_MONITOR) == 0;
  if (ft1_present_) SendFt1MonitorFlags(exec, 0);
}

void ServiceUnit::SetUtilitiesMenu(ui::Host& host, bool enabled) const {
  for (int id : {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1,
                 kMenuTe1Alarms, kMenuTe1Tests, kMenu56KStatus, kMenuReadRegister})
    host.setMenuEnabled(id, false);
  const bool te = front_end_type_ == kFrontEndT1 || front_end_type_ == kFrontEndE1;
  if (front_end_type_ == kFrontEndNone && ft1_present_)
    for (int id : {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1})
      host.setMenuEnabled(id, enabled);
  if (te) {
    host.setMenuEnabled(kMenuTe1Alarms, enabled);
    host.setMenuEnabled(kMenuTe1Tests, enabled);
  }
  if (front_end_type_ == kFrontEnd56K) host.setMenuEnabled(kMenu56KStatus, enabled);
  if (front_end_type_ != kFrontEndNone) host.setMenuEnabled(kMenuReadRegister, enabled);
}
