#include "monitor/line/ft1_config_dialog.h"

namespace {

std::vector<ui::ControlTemplate> Controls() {
  using D = Ft1ConfigDialog;
  const char* const build_outs[D::kLineBuildOutCount] = {
      "CSU_0dB_DSX1_TO_133", "DSX1_133_TO_266", "DSX1_266_TO_399", "DSX1_399_TO_533",
      "DSX1_533_TO_655",     "CSU_NEG_7dB",     "CSU_NEG_15dB",    "CSU_NEG_22dB",
  };
  std::vector<ui::ControlTemplate> c = {
      ui::GroupBox(D::kFramingGroup, "Framing Mode", 6, 4, 104, 38),
      ui::RadioButton(D::kEsf, "ESF Framing", 14, 16, 88, 10).with(ui::kGroupStart),
      ui::RadioButton(D::kD4, "D4 Framing", 14, 28, 88, 10),
      ui::GroupBox(D::kEncodingGroup, "Encoding Mode", 118, 4, 104, 38),
      ui::RadioButton(D::kB8zs, "B8ZS", 126, 16, 88, 10).with(ui::kGroupStart),
      ui::RadioButton(D::kAmi, "AMI", 126, 28, 88, 10),
      ui::GroupBox(D::kLineBuildOutGroup, "Line Build Out", 6, 46, 104, 108),
  };
  for (int i = 0; i < D::kLineBuildOutCount; ++i) {
    auto radio = ui::RadioButton(D::kFirstLineBuildOut + i, build_outs[i], 14, 58 + 12 * i, 92, 10);
    c.push_back(i == 0 ? radio.with(ui::kGroupStart) : radio);
  }
  c.insert(c.end(), {
      ui::GroupBox(D::kClockGroup, "Clock Mode", 118, 46, 104, 38),
      ui::RadioButton(D::kNormal, "Normal", 126, 58, 88, 10).with(ui::kGroupStart),
      ui::RadioButton(D::kMaster, "Master", 126, 70, 88, 10),
      ui::Label("Channel Base:", 118, 98, 52, 9, D::kChannelBase),
      ui::Edit(D::kChannelBase, 172, 96, 50, 12).with(ui::kDigitsOnly | ui::kRightAlign),
      ui::Label("Baud Rate:", 118, 116, 52, 9, D::kBaudRate),
      ui::Edit(D::kBaudRate, 172, 114, 50, 12),
      ui::Button(D::kSet, "Set Configuration", 38, 162, 72, 14),
      ui::Button(D::kClose, "Close", 118, 162, 72, 14),
  });
  return c;
}

}  // namespace

const ui::FormTemplate& Ft1ConfigTemplate() {
  static const ui::FormTemplate t{
      .name = "FT1_CONFIG",
      .title = "FT1 Configuration",
      .w = 228, .h = 184,
      .controls = Controls(),
  };
  return t;
}
