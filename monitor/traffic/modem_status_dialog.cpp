#include "monitor/traffic/modem_status_dialog.h"

#include "driver_if/mailbox.h"

void SetModemStatusDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == 1) {
    const uint8_t payload[] = {static_cast<uint8_t>((form_->isChecked(kDtr) ? 1 : 0) |
                                                    (form_->isChecked(kRts) ? 2 : 0))};
    exec_.block().prepare(SET_MODEM_STATUS, payload);
    exec_.ExecuteCommand();
    form_->endDialog(1);
  } else if (id == 2) {
    form_->endDialog(0);
  }
}
