#include "monitor/line/status_56k_window.h"

namespace {

// A light with its name above it, in the n-th column of the frame.
constexpr int kColumnX = 12;
constexpr int kColumnStep = 31;

ui::ControlTemplate LightName(std::string text, int column, int light) {
  return ui::Label(std::move(text), kColumnX + column * kColumnStep, 14, 30, 9, light)
      .with(ui::kCentered);
}
ui::ControlTemplate LightAt(int id, int column) {
  return ui::Light(id, kColumnX + column * kColumnStep + 9, 26, 12, 12);
}

}  // namespace

const ui::FormTemplate& Status56KTemplate() {
  using W = Status56KWindow;
  static const ui::FormTemplate t = [] {
    ui::FormTemplate f{
        .name = "IDD_56K_STATUS",
        .title = "Talvora 56K DSU\\CSU Alarms Window",
        .w = 301, .h = 87,
        .icon = "icont1stat",
        .minimize_box = true,
    };
    f.controls.push_back(ui::GroupBox(ui::kNoId, "", 8, 4, 285, 42));
    const std::pair<const char*, int> lights[] = {
        {"INS", W::kInsLight}, {"DMI", W::kDmiLight}, {"ZSC", W::kZscLight},
        {"CMI", W::kCmiLight}, {"OOS", W::kOosLight}, {"OOF", W::kOofLight},
        {"DLP", W::kDlpLight}, {"UMC", W::kUmcLight}, {"RLOS", W::kRlosLight},
    };
    for (int i = 0; i < static_cast<int>(std::size(lights)); ++i) {
      f.controls.push_back(LightName(lights[i].first, i, lights[i].second));
      f.controls.push_back(LightAt(lights[i].second, i));
    }
    ui::ControlTemplate length_label = ui::Label("Line Length ( km ): ", 150, 54, 76, 9, W::kLineLength);
    length_label.id = W::kLineLengthLabel;
    f.controls.insert(f.controls.end(), {
        ui::Label("Insertion Loss ( dB ): ", 10, 54, 84, 9, W::kInsertionLoss),
        ui::Text(W::kInsertionLoss, "?", 96, 53, 40, 11).with(ui::kSunken | ui::kRightAlign),
        length_label,
        ui::Text(W::kLineLength, "?", 228, 53, 40, 11).with(ui::kSunken | ui::kRightAlign),
        ui::Button(W::kClose, "Close", 125, 68, 50, 14),
    });
    return f;
  }();
  return t;
}
