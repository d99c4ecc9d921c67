#include "monitor/traffic/set_config_dialog.h"

namespace {

using D = SetConfigDialog;

std::vector<ui::ControlTemplate> Controls() {
  std::vector<ui::ControlTemplate> c = {
      ui::GroupBox(ui::kNoId, "Modem options (check to enable)", 6, 4, 150, 38),
      ui::CheckBox(D::kManualDtrRts, "Manual DTR/RTS control", 12, 15, 138, 10),
      ui::CheckBox(D::kIgnoreModemChanges, "Ignore modem changes in app", 12, 27, 138, 10),
      ui::GroupBox(ui::kNoId, "Transmit and receive buffers", 6, 46, 150, 42),
      ui::Label("Maximum frame size:", 12, 58, 86, 9, D::kMaxFrameSize),
      ui::Edit(D::kMaxFrameSize, 100, 56, 48, 12),
      ui::Label("Percent transmit buffers:", 12, 72, 86, 9, D::kPercentTxBuffers),
      ui::Edit(D::kPercentTxBuffers, 100, 70, 48, 12),
      ui::GroupBox(ui::kNoId, "Statistics options (check to enable)", 6, 92, 150, 62),
      ui::CheckBox(D::kStatisticsFirst + 0, "Count bytes and frames transmitted", 12, 103, 140, 10),
      ui::CheckBox(D::kStatisticsFirst + 1, "Count bytes and frames received", 12, 115, 140, 10),
      ui::CheckBox(D::kStatisticsFirst + 2, "Calculate transmit throughput", 12, 127, 140, 10),
      ui::CheckBox(D::kStatisticsFirst + 3, "Calculate receive throughput", 12, 139, 140, 10),
      ui::GroupBox(ui::kNoId, "Hardware", 162, 4, 152, 170),
  };
  struct Row {
    const char* label;
    int id;
    bool combo;
  };
  const Row rows[] = {
      {"Baud rate (bps):", D::kBaudRate, false},      {"Interface:", D::kInterface, true},
      {"Media Type:", D::kMediaType, true},            {"Active Channels:", D::kActiveChannels, false},
      {"T1 Framing:", D::kT1Framing, true},            {"E1 Framing:", D::kE1Framing, true},
      {"T1 Line Decoding:", D::kT1LineDecoding, true}, {"E1 Line Decoding:", D::kE1LineDecoding, true},
      {"T1 LBO:", D::kT1Lbo, true},                    {"Clocking Mode:", D::kClocking, true},
  };
  int y = 16;
  for (const auto& r : rows) {
    c.push_back(ui::Label(r.label, 168, y + 2, 62, 9, r.id));
    if (r.combo) c.push_back(ui::ComboBox(r.id, 232, y, 76, 12));
    else if (r.id == D::kActiveChannels)
      c.push_back(ui::Edit(r.id, 232, y, 76, 12, static_cast<int>(kMaxActiveChannelsText)));
    else c.push_back(ui::Edit(r.id, 232, y, 76, 12, 78));
    y += 15;
  }
  c.push_back(ui::Button(D::kOk, "OK", 104, 182, 50, 14).with(ui::kDefaultButton));
  c.push_back(ui::Button(D::kCancel, "Cancel", 166, 182, 50, 14));
  return c;
}

}  // namespace

const ui::FormTemplate& SetConfigTemplate() {
  static const ui::FormTemplate t{
      .name = "SETCONFIG",
      .title = "Set Streaming Configuration on Device",
      .w = 320, .h = 204,
      .controls = Controls(),
  };
  return t;
}
