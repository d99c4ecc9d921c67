#include "monitor/core/streaming_configuration_window.h"

#include <cstdio>
#include <string>

#include "driver_if/records.h"

namespace {

std::string Hex4(uint16_t v) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", v);
  return text;
}

}  // namespace

void StreamingConfigurationWindow::onInit(ui::Form& form) {
  form_ = &form;
  const StreamingConfig& c = configuration_;
  form.setText(200, std::to_string(c.baud_rate));
  form.setText(201, std::to_string(c.max_frame_size));
  form.setText(202, std::to_string(c.percent_tx_buffers));
  form.setText(204, Hex4(c.modem_options));
  form.setText(205, Hex4(c.statistics_options));
  form.setTitle("CHDLC v" + code_version_ + " Configuration");
}

void StreamingConfigurationWindow::onCommand(int id, ui::Notify notify) {
  if (id == 1 && notify == ui::Notify::Clicked) form_->endDialog(1);
}
