#pragma once

#include "driver_if/command_block.h"
#include "monitor/core/monitor_window.h"

const ui::FormTemplate& OperationalStatisticsTemplate();

class OperationalStatisticsWindow : public MonitorWindow {
 public:
  using MonitorWindow::MonitorWindow;
  static constexpr int kFlushButton = 550;

 private:
  void reset() override;
  void refresh() override;
  void onButton(int id) override;

  CommandBlockImage snapshot_{};
};
