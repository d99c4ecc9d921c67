#include "monitor/traffic/modem_status_dialog.h"

#include "card/chdlc.h"

void SetModemStatusDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == 1) {
    card::SetModemStatus(exec_, form_->isChecked(kDtr), form_->isChecked(kRts));
    form_->endDialog(1);
  } else if (id == 2) {
    form_->endDialog(0);
  }
}
