#include "monitor/line/ft1_terminal_window.h"

const ui::FormTemplate& Ft1TerminalTemplate() {
  using W = Ft1TerminalWindow;
  static const ui::FormTemplate t{
      .name = "ADVANCED_FT1_CONFIG",
      .window_class = "FT1ADVANCED",
      .title = "Advanced T1 Configuration",
      .w = 300, .h = 196,
      .controls = {
          // Disabled: the keyboard stays with the window, every key goes to the unit.
          ui::ListBox(W::kList, 6, 6, 288, 164).with(ui::kDisabled | ui::kTabStops | ui::kFixedFont),
          ui::Button(W::kClose, "CLOSE", 125, 176, 50, 14),
      },
      .icon = "iconmodems",
      .raw_keys = true,
  };
  return t;
}
