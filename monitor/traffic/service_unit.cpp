#include "monitor/traffic/service_unit.h"

#include "driver_if/mailbox.h"
#include "monitor/core/menu_ids.h"

void ServiceUnit::SetUtilitiesMenu(ui::Host& host, bool enabled) const {
  for (int id : {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1,
                 kMenuTe1Alarms, kMenuTe1Tests, kMenu56KStatus, kMenuReadRegister})
    host.setMenuEnabled(id, false);
  const bool te = unit_.te1();
  if (unit_.front_end_type == kFrontEndNone && unit_.ft1_present)
    for (int id : {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1})
      host.setMenuEnabled(id, enabled);
  if (te) {
    host.setMenuEnabled(kMenuTe1Alarms, enabled);
    host.setMenuEnabled(kMenuTe1Tests, enabled);
  }
  if (unit_.front_end_type == kFrontEnd56K) host.setMenuEnabled(kMenu56KStatus, enabled);
  if (unit_.front_end_type != kFrontEndNone) host.setMenuEnabled(kMenuReadRegister, enabled);
}
