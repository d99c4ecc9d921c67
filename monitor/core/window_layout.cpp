#include "monitor/core/window_layout.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "driver_if/device_names.h"

namespace {

constexpr char kMainWindowKey[] = "main_window";
constexpr char kOpenWindowsKey[] = "open_windows";
// Far beyond any screen: such a value is damage, not a position.
constexpr int kMaxCoordinate = 100000;

std::string PlacementText(const ui::WindowPlacement& p) {
  char text[80];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d", p.x, p.y, p.w, p.h, p.minimized ? 1 : 0);
  return text;
}

// Exactly five integers separated by commas, the last 0 or 1.
std::optional<ui::WindowPlacement> ParsePlacement(std::string_view text) {
  int values[5];
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 5; ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    auto [next, ec] = std::from_chars(p, end, values[i]);
    if (ec != std::errc() || values[i] < -kMaxCoordinate || values[i] > kMaxCoordinate) return std::nullopt;
    p = next;
  }
  if (p != end || (values[4] != 0 && values[4] != 1)) return std::nullopt;
  return ui::WindowPlacement{values[0], values[1], values[2], values[3], values[4] == 1};
}

std::optional<MonitorKind> KindNamed(std::string_view name) {
  for (MonitorKind kind : kAllMonitorKinds)
    if (TemplateNameOf(kind) == name) return kind;
  return std::nullopt;
}

std::vector<MonitorKind> ParseWindowList(std::string_view text) {
  std::vector<MonitorKind> kinds;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    if (std::optional<MonitorKind> kind = KindNamed(name)) kinds.push_back(*kind);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return kinds;
}

}  // namespace

std::string LayoutPath(const std::string& settings_path) {
  return (std::filesystem::path(settings_path).parent_path() / "talvmon-layout.ini").string();
}

void WindowLayout::place(MonitorKind kind, const std::string& device) {
  ui::Form* form = windows_.form(kind);
  if (form == nullptr) return;
  const std::optional<std::string> text = file_.read(device, TemplateNameOf(kind));
  if (!text) return;
  if (std::optional<ui::WindowPlacement> placement = ParsePlacement(*text)) host_.place(*form, *placement);
}

// Only card device names: another name could not be a section name.
void WindowLayout::restoreMainWindow(const std::string& device) {
  if (!IsCardDeviceName(device)) return;
  if (std::optional<std::string> geometry = file_.read(device, kMainWindowKey))
    host_.restoreMainWindowGeometry(*geometry);
  place(MonitorKind::PollingInfo, device);
}

void WindowLayout::restoreWindows(const std::string& device) {
  if (!IsCardDeviceName(device)) return;
  const std::optional<std::string> list = file_.read(device, kOpenWindowsKey);
  if (!list) return;
  for (MonitorKind kind : ParseWindowList(*list)) {
    if (kind == MonitorKind::PollingInfo || windows_.isOpen(kind)) continue;
    windows_.open(kind);
    place(kind, device);
  }
}

void WindowLayout::save(const std::string& device, bool with_window_list) {
  if (!IsCardDeviceName(device)) return;
  const std::string geometry = host_.mainWindowGeometry();
  if (!geometry.empty()) file_.write(device, kMainWindowKey, geometry);
  std::string list;
  for (MonitorKind kind : kAllMonitorKinds) {
    ui::Form* form = windows_.form(kind);
    if (form == nullptr) continue;
    if (std::optional<ui::WindowPlacement> placement = host_.placement(*form))
      file_.write(device, TemplateNameOf(kind), PlacementText(*placement));
    if (kind != MonitorKind::PollingInfo) list += (list.empty() ? "" : ",") + TemplateNameOf(kind);
  }
  if (with_window_list) file_.write(device, kOpenWindowsKey, list);
}
