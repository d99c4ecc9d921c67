#pragma once
// "Read Register": one register of the integrated T1, E1 or 56K unit.

#include "driver_if/execute.h"
#include "ui/form.h"

const ui::FormTemplate& ReadRegisterTemplate();

class ReadRegisterDialog : public ui::FormHandler {
 public:
  static constexpr int kRead = 1038;
  static constexpr int kRegister = 1037;
  static constexpr int kValue = 1036;

  explicit ReadRegisterDialog(CommandExecutor& exec) : exec_(exec) {}
  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { form_->endDialog(0); }

 private:
  void read();

  CommandExecutor& exec_;
  ui::Form* form_ = nullptr;
};
