#include "monitor/core/monitor_windows.h"

#include <algorithm>

#include "monitor/core/comm_error_statistics_window.h"
#include "monitor/core/link_status_window.h"
#include "monitor/core/modem_status_window.h"
#include "monitor/core/operational_statistics_window.h"

namespace {

const ui::FormTemplate& TemplateOf(MonitorKind kind) {
  switch (kind) {
    case MonitorKind::LinkStatus: return LinkStatusTemplate();
    case MonitorKind::PollingInfo: return PollingInfoTemplate();
    case MonitorKind::OperationalStatistics: return OperationalStatisticsTemplate();
    case MonitorKind::CommErrorStatistics: return CommErrorStatisticsTemplate();
    case MonitorKind::ModemStatus: break;
  }
  return ModemStatusTemplate();
}

}  // namespace

const std::string& TemplateNameOf(MonitorKind kind) { return TemplateOf(kind).name; }

int MenuIdOf(MonitorKind kind) {
  switch (kind) {
    case MonitorKind::LinkStatus: return kMenuLinkStatus;
    case MonitorKind::PollingInfo: return kMenuPollingInfo;
    case MonitorKind::OperationalStatistics: return kMenuOperationalStatistics;
    case MonitorKind::CommErrorStatistics: return kMenuCommErrorStatistics;
    case MonitorKind::ModemStatus: break;
  }
  return kMenuModemStatus;
}

MonitorWindows::~MonitorWindows() {
  if (PollingInfoWindow* p = pollingInfo(); p != nullptr && exec_.display() == p) exec_.setDisplay(nullptr);
}

std::unique_ptr<MonitorWindow> MonitorWindows::make(MonitorKind kind, unsigned serial) {
  auto close = [this, serial] { requestClose(serial); };
  switch (kind) {
    case MonitorKind::LinkStatus: return std::make_unique<LinkStatusWindow>(exec_, close);
    case MonitorKind::PollingInfo: return std::make_unique<PollingInfoWindow>(exec_, close);
    case MonitorKind::OperationalStatistics:
      return std::make_unique<OperationalStatisticsWindow>(exec_, close, [this] { return now(); });
    case MonitorKind::CommErrorStatistics:
      return std::make_unique<CommErrorStatisticsWindow>(exec_, close);
    case MonitorKind::ModemStatus: break;
  }
  return std::make_unique<ModemStatusWindow>(exec_, close);
}

void MonitorWindows::open(MonitorKind kind) {
  if (isOpen(kind)) {
    if (Entry* e = newest(kind)) {
      if (e->form->isMinimized()) e->form->restore();
      e->form->bringToTop();
    }
    return;
  }
  unsigned serial = next_serial_++;
  auto window = make(kind, serial);
  ui::Form* form = host_.createWindow(TemplateOf(kind), *window, ui::WindowKind::MdiChild);
  if (form == nullptr) return;
  entries_.push_back({serial, kind, std::move(window), form});
  host_.setMenuChecked(MenuIdOf(kind), true);
  if (kind == MonitorKind::PollingInfo) {
    exec_.setDisplay(static_cast<PollingInfoWindow*>(entries_.back().window.get()));
    if (polling_info_opened) polling_info_opened();
  }
}

void MonitorWindows::requestClose(unsigned serial) {
  Entry* e = find(serial);
  if (e == nullptr) return;
  host_.setMenuChecked(MenuIdOf(e->kind), false);
  forgetDisplay(*e);
  // The main window destroys it once this event is over.
  host_.post([this, serial] { destroy(serial); });
}

void MonitorWindows::destroy(unsigned serial) {
  Entry* e = find(serial);
  if (e == nullptr) return;
  forgetDisplay(*e);
  host_.destroyWindow(*e->form);
  std::erase_if(entries_, [serial](const Entry& x) { return x.serial == serial; });
}

void MonitorWindows::destroyAll() {
  for (auto& e : entries_) {
    forgetDisplay(e);
    host_.destroyWindow(*e.form);
  }
  entries_.clear();
  for (MonitorKind kind : kAllMonitorKinds) host_.setMenuChecked(MenuIdOf(kind), false);
}

void MonitorWindows::minimizeAll() {
  for (auto& e : entries_) e.form->minimize();
  host_.arrangeIcons();
}

void MonitorWindows::tick() {
  std::vector<unsigned> serials;
  for (const auto& e : entries_) serials.push_back(e.serial);
  for (unsigned s : serials)
    if (Entry* e = find(s)) e->window->onPollTick();
}

bool MonitorWindows::allAnswering() const {
  return std::all_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.window->answering(); });
}

ui::Form* MonitorWindows::form(MonitorKind kind) {
  if (!isOpen(kind)) return nullptr;
  Entry* e = newest(kind);
  return e == nullptr ? nullptr : e->form;
}

PollingInfoWindow* MonitorWindows::pollingInfo() const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->kind == MonitorKind::PollingInfo && host_.isMenuChecked(kMenuPollingInfo))
      return static_cast<PollingInfoWindow*>(it->window.get());
  return nullptr;
}

MonitorWindows::Entry* MonitorWindows::find(unsigned serial) {
  for (auto& e : entries_)
    if (e.serial == serial) return &e;
  return nullptr;
}

MonitorWindows::Entry* MonitorWindows::newest(MonitorKind kind) {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->kind == kind) return &*it;
  return nullptr;
}

void MonitorWindows::forgetDisplay(const Entry& e) {
  if (e.kind == MonitorKind::PollingInfo &&
      exec_.display() == static_cast<PollingInfoWindow*>(e.window.get()))
    exec_.setDisplay(nullptr);
}
