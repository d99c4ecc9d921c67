#pragma once
// The monitor's About box.

#include "ui/form.h"

const ui::FormTemplate& AboutTemplate();

class AboutDialog : public ui::FormHandler {
 public:
  void onInit(ui::Form& form) override { form_ = &form; }
  void onCommand(int id, ui::Notify notify) override {
    if (notify == ui::Notify::Clicked && (id == 1 || id == 2)) form_->endDialog(1);
  }
  void onCloseRequest() override { form_->endDialog(1); }

 private:
  ui::Form* form_ = nullptr;
};
