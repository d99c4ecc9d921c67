#include "monitor/line/ft1_statistics_window.h"

namespace {

std::vector<ui::ControlTemplate> Controls() {
  using W = Ft1StatisticsWindow;
  struct Heading {
    const char* text;
    int x;
  };
  // Over the columns of the unit's rows in the list's fixed-pitch font.
  const Heading headings[] = {{"TIME", 16}, {"ES", 38}, {"BES", 54}, {"SES", 70},
                              {"UAS", 86},  {"LOFS", 102}, {"ESF", 118}};
  std::vector<ui::ControlTemplate> c;
  for (const Heading& h : headings) c.push_back(ui::Text(ui::kNoId, h.text, h.x, 4, 8, 34).with(ui::kVertical));
  c.push_back(ui::ListBox(W::kList, 6, 40, 144, 96).with(ui::kVScroll | ui::kFixedFont));
  c.push_back(ui::Button(W::kFlush, "FLUSH", 22, 140, 50, 14));
  c.push_back(ui::Button(W::kClose, "CLOSE", 84, 140, 50, 14));
  return c;
}

}  // namespace

const ui::FormTemplate& Ft1StatisticsTemplate() {
  static const ui::FormTemplate t{
      .name = "T1STATS",
      .title = "FT1 Operational Statistics",
      .x = 200, .y = 100, .w = 156, .h = 159,
      .controls = Controls(),
      .icon = "icontrace",
  };
  return t;
}
