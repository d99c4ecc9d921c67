#include "monitor/core/select_device_dialog.h"

#include "monitor/core/settings.h"

void SelectDeviceDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.setText(kName, name_);
  form.setText(kStoredDefault, stored_default_);
}

void SelectDeviceDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == 1) {
    name_ = CleanDeviceName(form_->text(kName));
    set_as_default_ = form_->isChecked(kSetAsDefault);
    form_->endDialog(kAccepted);
  } else if (id == 2) {
    form_->endDialog(0);
  }
}
