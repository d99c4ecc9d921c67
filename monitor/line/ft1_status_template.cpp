#include "monitor/line/ft1_status_window.h"

namespace {

std::vector<ui::ControlTemplate> Controls() {
  using W = Ft1StatusWindow;
  struct Lamp {
    Ft1Light light;
    const char* label;
    int x;
  };
  // The first four stand alone; the test-mode lights sit in their group with SELECT.
  const Lamp lamps[] = {
      {Ft1Light::INS, "INS", 8},  {Ft1Light::ERR, "ERR", 32}, {Ft1Light::TXD, "TXD", 56},
      {Ft1Light::RXD, "RXD", 80}, {Ft1Light::ST, "ST", 120},  {Ft1Light::DL, "DL", 144},
      {Ft1Light::LL, "LL", 168},  {Ft1Light::RT, "RT", 192},
  };
  std::vector<ui::ControlTemplate> c;
  c.push_back(ui::GroupBox(ui::kNoId, "Test Modes", 112, 2, 138, 36));
  for (const Lamp& l : lamps) {
    c.push_back(ui::Label(l.label, l.x, 12, 20, 8, W::LightId(l.light)).with(ui::kCentered));
    c.push_back(ui::Light(W::LightId(l.light), l.x + 4, 21, 12, 10));
  }
  c.push_back(ui::Button(W::kSelect, "SELECT", 216, 17, 30, 14));
  c.push_back(ui::Text(W::kText, "", 6, 43, 244, 56).with(ui::kSunken | ui::kMultiLine));
  c.push_back(ui::RadioButton(W::kPoll, "Poll", 0, 0, 1, 1).with(ui::kPushLike | ui::kHidden | ui::kDisabled));
  c.push_back(ui::Button(W::kHiddenClose, "", 0, 0, 1, 1).with(ui::kDefaultButton | ui::kHidden));
  return c;
}

}  // namespace

const ui::FormTemplate& Ft1StatusTemplate() {
  static const ui::FormTemplate t{
      .name = "T1STATUS",
      .title = "Talvora VR20/VR40 FT-1 Status Window",
      .w = 256, .h = 105,
      .controls = Controls(),
      .icon = "icont1stat",
  };
  return t;
}
