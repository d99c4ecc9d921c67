#pragma once
// The T1/E1 and 56K windows of the utilities menu (TE1 alarms, TE1 tests,
// 56K status) and the adapter memory dump.

#include "monitor/core/monitor_core.h"
#include "monitor/line/dump_clock.h"
#include "monitor/line/status_56k_window.h"
#include "monitor/line/te1_alarms_window.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/line/tool_window_slot.h"
#include "monitor/traffic/service_unit.h"

class FrontEndUtilities {
 public:
  FrontEndUtilities(MonitorCore& core, const ServiceUnit& unit);

  void OpenTe1Alarms();
  void OpenTe1Tests();
  void Open56KStatus();
  void MemoryDump();

  // The dump's date and time; the system clock unless a test sets another.
  void setClock(const DumpClock& clock) { clock_ = &clock; }

 private:
  // Each window's close path: what its close box, its own button and the
  // closing of all tool windows lead to.
  void closeTe1Alarms();
  void closeTe1Tests();
  void close56KStatus();
  // The main window is going: nothing may outlive its child windows.
  void destroyAll();

  // Starts the refresh timer of a freshly created window; without one the
  // window closes again and is never shown as open.
  template <class Window>
  bool startRefresh(ToolWindowSlot<Window>& slot, void (FrontEndUtilities::*close)());

  bool isTe1() const;

  MonitorCore& core_;
  const ServiceUnit& unit_;
  SystemDumpClock system_clock_;
  const DumpClock* clock_ = &system_clock_;
  ToolWindowSlot<Te1AlarmsWindow> alarms_;
  ToolWindowSlot<Te1TestsWindow> tests_;
  ToolWindowSlot<Status56KWindow> status_56k_;
  bool tests_closing_ = false;
};
