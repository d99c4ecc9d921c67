#include "monitor/core/streaming_configuration_window.h"

const ui::FormTemplate& StreamingConfigurationTemplate() {
  static const ui::FormTemplate t{
      .name = "STCONFIG",
      .title = "CHDLC Configuration",
      .w = 190, .h = 100,
      .controls = {
          ui::Label("Actual bit rate (bps):", 8, 8, 100, 9, 200),
          ui::Text(200, "", 112, 8, 70, 9),
          ui::Label("Maximum frame size:", 8, 20, 100, 9, 201),
          ui::Text(201, "", 112, 20, 70, 9),
          ui::Label("Percent transmit buffers:", 8, 32, 100, 9, 202),
          ui::Text(202, "", 112, 32, 70, 9),
          ui::Text(203, "", 8, 44, 174, 9),
          ui::Label("Modem bits:", 8, 56, 100, 9, 204),
          ui::Text(204, "", 112, 56, 70, 9),
          ui::Label("Statistics bits:", 8, 68, 100, 9, 205),
          ui::Text(205, "", 112, 68, 70, 9),
          ui::Button(1, "OK", 70, 82, 50, 14).with(ui::kDefaultButton),
      },
  };
  return t;
}
