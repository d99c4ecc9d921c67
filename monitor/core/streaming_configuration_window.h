#pragma once
// "Streaming Configuration": the configuration the card reported when the
// device was opened. Nothing is read from the card here.

#include <string>

#include "driver_if/records.h"
#include "ui/form.h"

const ui::FormTemplate& StreamingConfigurationTemplate();

class StreamingConfigurationWindow : public ui::FormHandler {
 public:
  StreamingConfigurationWindow(const StreamingConfig& configuration, std::string code_version)
      : configuration_(configuration), code_version_(std::move(code_version)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { form_->endDialog(1); }

 private:
  ui::Form* form_ = nullptr;
  const StreamingConfig& configuration_;
  std::string code_version_;
};
