#pragma once

#include "monitor/core/monitor_window.h"

const ui::FormTemplate& CommErrorStatisticsTemplate();

class CommErrorStatisticsWindow : public MonitorWindow {
 public:
  using MonitorWindow::MonitorWindow;
  static constexpr int kFlushButton = 550;

 private:
  void refresh() override;
  void onButton(int id) override;
};
