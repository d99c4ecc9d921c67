#pragma once

#include <cstdint>

#include "monitor/core/monitor_window.h"

const ui::FormTemplate& ModemStatusTemplate();

class ModemStatusWindow : public MonitorWindow {
 public:
  using MonitorWindow::MonitorWindow;

 private:
  void reset() override { last_status_ = 0xFF; }
  void refresh() override;

  uint8_t last_status_ = 0xFF;
};
