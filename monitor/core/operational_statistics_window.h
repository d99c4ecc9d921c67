#pragma once

#include <optional>

#include "card/chdlc_records.h"
#include "monitor/core/monitor_window.h"
#include "monitor/core/throughput_history.h"

const ui::FormTemplate& OperationalStatisticsTemplate();

class OperationalStatisticsWindow : public MonitorWindow {
 public:
  using Now = std::function<ThroughputHistory::Clock::time_point()>;
  OperationalStatisticsWindow(CommandExecutor& exec, std::function<void()> close_request, Now now)
      : MonitorWindow(exec, std::move(close_request)), now_(std::move(now)) {}
  static constexpr int kFlushButton = 550;
  static constexpr int kThroughputGraph = 560;

 private:
  void reset() override;
  void refresh() override;
  void onButton(int id) override;

  void sampleThroughput(const card::OperationalStatistics& stats);

  // What is shown; nothing after opening, so the first good reply always shows.
  std::optional<card::OperationalStatistics> shown_;
  Now now_;
  ThroughputHistory throughput_;
};
