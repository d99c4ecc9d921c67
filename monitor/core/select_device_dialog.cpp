#include "monitor/core/select_device_dialog.h"

#include "monitor/core/settings.h"

void SelectDeviceDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.setText(kName, name_);
  form.setText(kStoredDefault, stored_default_);
  for (const PresentDevice& d : present_) {
    const int line = form.listAdd(kPresent, d.name + '\t' + d.card + '\t' + d.service_unit);
    if (d.name == name_) form.listSelect(kPresent, line);
  }
}

void SelectDeviceDialog::onCommand(int id, ui::Notify notify) {
  if (id == kPresent) {
    const int line = form_->listSelection(kPresent);
    if (line < 0 || line >= static_cast<int>(present_.size())) return;
    if (notify == ui::Notify::SelectionChanged || notify == ui::Notify::DoubleClicked)
      form_->setText(kName, present_[static_cast<size_t>(line)].name);
    if (notify == ui::Notify::DoubleClicked) accept();
    return;
  }
  if (notify != ui::Notify::Clicked) return;
  if (id == 1) accept();
  else if (id == 2) form_->endDialog(0);
}

void SelectDeviceDialog::accept() {
  name_ = CleanDeviceName(form_->text(kName));
  set_as_default_ = form_->isChecked(kSetAsDefault);
  form_->endDialog(kAccepted);
}
