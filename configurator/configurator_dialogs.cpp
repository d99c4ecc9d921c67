#include "configurator/configurator_dialogs.h"

#include <string>

#include "configurator/dialog_templates.h"
#include "configurator/hardware_report.h"

namespace configurator {

void AboutDialog::onCommand(int id, ui::Notify) {
  if (id == kOkButton || id == kCancelCommand) form_->endDialog(id);
}

void MainDialog::onInit(ui::Form& form) {
  form_ = &form;
  for (const std::string& line : HardwareReport(driver_)) form.listAdd(kDeviceList, line);
}

void MainDialog::onCommand(int id, ui::Notify) {
  switch (id) {
    case kCloseButton:
    case kCancelCommand: form_->endDialog(id); break;
    case kAboutCommand: {
      AboutDialog about;
      host_.runModal(AboutDialogTemplate(), about);
      break;
    }
    default: break;
  }
}

void MainDialog::onCloseRequest() { form_->endDialog(kCancelCommand); }

int RunConfigurator(ui::Host& host, CardDriver& driver) {
  MainDialog dialog(host, driver);
  host.runModal(MainDialogTemplate(), dialog);
  return 0;
}

}  // namespace configurator
