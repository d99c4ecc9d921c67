#include "monitor/core/comm_error_statistics_window.h"

namespace {

std::vector<ui::ControlTemplate> Rows() {
  struct Row {
    int id;
    const char* label;
  };
  const Row rows[] = {
      {200, "Number of receiver overrun errors:"},
      {201, "Number of receiver CRC errors:"},
      {202, "Number of abort frames received:"},
      {203, "Number of times receiver disabled (bfrs full):"},
      {204, "Missed TX underrun Interrupts"},
      {207, "Number of times DCD dropped unexpectedly:"},
      {208, "Number of times CTS dropped unexpectedly:"},
      {111, "Application IRQ timeout count:"},
  };
  std::vector<ui::ControlTemplate> controls;
  int y = 6;
  for (const auto& r : rows) {
    controls.push_back(ui::Label(r.label, 8, y, 150, 9, r.id));
    controls.push_back(ui::Text(r.id, "0", 160, y, 40, 9).with(ui::kRightAlign));
    y += 11;
  }
  controls.push_back(ui::Button(CommErrorStatisticsWindow::kFlushButton, "&FLUSH", 43, 108, 50, 14));
  controls.push_back(ui::Button(kCloseButton, "&Close", 113, 108, 50, 14));
  return controls;
}

}  // namespace

const ui::FormTemplate& CommErrorStatisticsTemplate() {
  static const ui::FormTemplate t{
      .name = "COMES",
      .window_class = "TVMN_COMES",
      .title = "Communications Error Statistics",
      .x = 14, .y = 21, .w = 206, .h = 129,
      .controls = Rows(),
      .icon = "iconcomes",
      .minimize_box = true,
      .copy = ui::CopyKind::Values,
  };
  return t;
}
