#include "monitor/core/operational_statistics_window.h"

namespace {

std::vector<ui::ControlTemplate> Rows() {
  struct Row {
    int id;
    const char* label;
  };
  const Row rows[] = {
      {201, "Number of frames transmitted:"},
      {202, "Number of bytes transmitted:"},
      {205, "Transmit throughput:"},
      {206, "Milliseconds used for transmit throughput:"},
      {209, "Tx frames discarded (length error):"},
      {203, "Number of frames received:"},
      {204, "Number of bytes received:"},
      {207, "Receive throughput:"},
      {208, "Milliseconds used for receive throughput:"},
      {200, "Recieved frames discarded due to excessive length:"},
  };
  std::vector<ui::ControlTemplate> controls;
  int y = 4;
  for (const auto& r : rows) {
    controls.push_back(ui::Label(r.label, 8, y, 186, 9, r.id));
    controls.push_back(ui::Text(r.id, "0", 198, y, 54, 9).with(ui::kRightAlign));
    y += 10;
  }
  controls.push_back(ui::Label("Throughput over the last five minutes:", 8, y + 2, 186, 9,
                               OperationalStatisticsWindow::kThroughputGraph));
  controls.push_back(ui::Graph(OperationalStatisticsWindow::kThroughputGraph, "bytes/s", 8, y + 12, 243, 60));
  controls.push_back(ui::Button(OperationalStatisticsWindow::kFlushButton, "&FLUSH", 72, y + 77, 50, 13));
  controls.push_back(ui::Button(kCloseButton, "&Close", 137, y + 77, 50, 13));
  return controls;
}

}  // namespace

const ui::FormTemplate& OperationalStatisticsTemplate() {
  static const ui::FormTemplate t{
      .name = "OPSTATS",
      .window_class = "TVMN_OPSTATS",
      .title = "Operational Statistics",
      .x = 18, .y = 28, .w = 259, .h = 198,
      .controls = Rows(),
      .icon = "iconopstats",
      .minimize_box = true,
      .copy = ui::CopyKind::Values,
  };
  return t;
}
