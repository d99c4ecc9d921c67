#pragma once
// The five monitor windows (class names "TVMN_..."): each open at most once,
// its menu item checked exactly while it is open.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver_if/execute.h"
#include "monitor/core/monitor_window.h"
#include "monitor/core/polling_info_window.h"
#include "ui/host.h"

enum class MonitorKind { LinkStatus, PollingInfo, OperationalStatistics, CommErrorStatistics, ModemStatus };

inline constexpr int kMenuLinkStatus = 102;
inline constexpr int kMenuPollingInfo = 103;
inline constexpr int kMenuOperationalStatistics = 105;
inline constexpr int kMenuCommErrorStatistics = 108;
inline constexpr int kMenuModemStatus = 110;

int MenuIdOf(MonitorKind kind);
// The window's template name ("LSTAT", "POLLS", ...).
const std::string& TemplateNameOf(MonitorKind kind);
inline constexpr MonitorKind kAllMonitorKinds[] = {MonitorKind::LinkStatus, MonitorKind::PollingInfo,
                                                   MonitorKind::OperationalStatistics,
                                                   MonitorKind::CommErrorStatistics, MonitorKind::ModemStatus};

class MonitorWindows {
 public:
  MonitorWindows(ui::Host& host, CommandExecutor& exec) : host_(host), exec_(exec) {}
  ~MonitorWindows();

  // Opens the window, or restores and raises it when it is open already.
  void open(MonitorKind kind);
  // The check mark is the record of whether the window is open.
  bool isOpen(MonitorKind kind) const { return host_.isMenuChecked(MenuIdOf(kind)); }
  // Destroys every monitor window and unchecks their menu items.
  void destroyAll();
  void minimizeAll();
  // The polling tick, to each window in turn.
  void tick();
  // False when a window's last refresh went unanswered.
  bool allAnswering() const;
  // The open window of that kind, or null.
  ui::Form* form(MonitorKind kind);

  PollingInfoWindow* pollingInfo() const;

  // Runs when a fresh Polling and Device Info window has opened.
  std::function<void()> polling_info_opened;
  // The clock the throughput graph is drawn against.
  std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };

 private:
  struct Entry {
    unsigned serial;
    MonitorKind kind;
    std::unique_ptr<MonitorWindow> window;
    ui::Form* form;
  };
  std::unique_ptr<MonitorWindow> make(MonitorKind kind, unsigned serial);
  void requestClose(unsigned serial);
  void destroy(unsigned serial);
  Entry* find(unsigned serial);
  Entry* newest(MonitorKind kind);
  void forgetDisplay(const Entry& e);

  ui::Host& host_;
  CommandExecutor& exec_;
  std::vector<Entry> entries_;
  unsigned next_serial_ = 1;
};
