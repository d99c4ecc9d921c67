#pragma once
// The configurator's windows: the device list, which is the program, and
// the About box.

#include "configurator/dialog_templates.h"
#include "driver_if/card_driver.h"
#include "ui/host.h"

namespace configurator {

class AboutDialog : public ui::FormHandler {
 public:
  void onInit(ui::Form& form) override { form_ = &form; }
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { form_->endDialog(kCancelCommand); }

 private:
  ui::Form* form_ = nullptr;
};

class MainDialog : public ui::FormHandler {
 public:
  MainDialog(ui::Host& host, CardDriver& driver) : host_(host), driver_(driver) {}

  // Fills the list once, before the window shows.
  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override;

 private:
  ui::Host& host_;
  CardDriver& driver_;
  ui::Form* form_ = nullptr;
};

// Shows the device list until the user closes it; the program's exit code.
int RunConfigurator(ui::Host& host, CardDriver& driver);

}  // namespace configurator
