#include "monitor/traffic/receive_detail_window.h"

const ui::FormTemplate& ReceiveDetailTemplate() {
  using W = ReceiveDetailWindow;
  static const ui::FormTemplate t{
      .name = "RDETAIL",
      .title = "Receive Detail",
      .x = 40, .y = 40, .w = 330, .h = 270,
      .controls = {
          ui::Label("BITS  LGTH  TimeStamp  DATA...", 6, 4, 318, 9, W::kList),
          ui::ListBox(W::kList, 6, 14, 318, 110).with(ui::kVScroll),
          ui::Label("Detail of last received frame...", 6, 128, 318, 9, W::kDump),
          ui::Edit(W::kDump, 6, 138, 318, 98).with(ui::kMultiLine | ui::kReadOnly | ui::kVScroll),
          ui::CheckBox(W::kDisplay, "Display received frames", 6, 242, 110, 10),
          ui::CheckBox(W::kCount, "Count:", 130, 242, 40, 10),
          ui::Text(W::kCounter, "0", 172, 242, 56, 9),
          ui::CheckBox(W::kCapture, "Capture to file...", 232, 242, 92, 10),
          ui::Label("Lost at card:", 6, 256, 56, 9, W::kLostAtCard),
          ui::Text(W::kLostAtCard, "0", 66, 256, 80, 9),
      },
      .fixed_font = true,
      .copy = ui::CopyKind::ControlText,
      .copy_control = W::kDump,
  };
  return t;
}
