#pragma once
// "Set Modem Status": drives DTR and RTS. The card's current signals are
// not read; both boxes start clear.

#include "driver_if/execute.h"
#include "ui/form.h"

const ui::FormTemplate& SetModemStatusTemplate();

class SetModemStatusDialog : public ui::FormHandler {
 public:
  static constexpr int kDtr = 200;
  static constexpr int kRts = 201;

  explicit SetModemStatusDialog(CommandExecutor& exec) : exec_(exec) {}
  void onInit(ui::Form& form) override { form_ = &form; }
  void onCommand(int id, ui::Notify notify) override;

 private:
  CommandExecutor& exec_;
  ui::Form* form_ = nullptr;
};
