#pragma once
// The FT1 items of the utilities menu: the status monitor, the statistics
// window, the line configuration dialog and the terminal on the unit's
// character channel, with the monitor flags they share for the run.

#include "monitor/core/monitor_core.h"
#include "monitor/line/ft1_monitor_flags.h"
#include "monitor/line/ft1_statistics_window.h"
#include "monitor/line/ft1_status_window.h"
#include "monitor/line/ft1_terminal_window.h"
#include "monitor/line/tool_window_slot.h"
#include "monitor/traffic/service_unit.h"

class Ft1Utilities {
 public:
  Ft1Utilities(MonitorCore& core, const ServiceUnit& unit);

  void OpenStatusMonitor();
  void OpenStatistics();
  void RunConfiguration();
  void OpenTerminal();

  // After the utilities-menu rule: the statistics and terminal windows
  // outlive a connection, so their items stay grey while they exist.
  void keepOpenWindowItemsGrey();

  const Ft1MonitorFlags& monitorFlags() const { return flags_; }
  Ft1StatusWindow* statusWindow() const { return status_.window(); }
  Ft1StatisticsWindow* statisticsWindow() const { return statistics_.window(); }
  Ft1TerminalWindow* terminalWindow() const { return terminal_.window(); }

 private:
  // Each window's close path: what its close box, its own button and (for
  // the status window) the closing of all tool windows lead to.
  void closeStatusMonitor();
  void closeStatistics();
  void closeTerminal();
  // The main window is going: nothing may outlive its child windows.
  void destroyAll();
  // An item given back when its window or dialog ends: enabled only where
  // the utilities-menu rule would enable it now.
  void giveBackItem(int id);

  MonitorCore& core_;
  const ServiceUnit& unit_;
  Ft1MonitorFlags flags_;
  ToolWindowSlot<Ft1StatusWindow> status_;
  ToolWindowSlot<Ft1StatisticsWindow> statistics_;
  ToolWindowSlot<Ft1TerminalWindow> terminal_;
};
