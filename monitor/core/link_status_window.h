#pragma once

#include <cstdint>

#include "monitor/core/monitor_window.h"

const ui::FormTemplate& LinkStatusTemplate();

class LinkStatusWindow : public MonitorWindow {
 public:
  using MonitorWindow::MonitorWindow;

 private:
  void reset() override;
  void refresh() override;

  uint16_t last_queued_ = 0xFFFF;
  uint8_t last_receiver_ = 0xFF;
};
