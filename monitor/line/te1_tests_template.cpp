#include "monitor/line/te1_tests_window.h"

const ui::FormTemplate& Te1TestsTemplate() {
  using W = Te1TestsWindow;
  static const ui::FormTemplate t{
      .name = "TE1_TESTS",
      .title = "T1/E1 Tests",
      .w = 173, .h = 133,
      .controls = {
          ui::Button(W::kLineLoopBack, W::kModes[0].caption_off, 8, 8, 158, 16)
              .with(ui::kDefaultButton),
          ui::Button(W::kPayloadLoopBack, W::kModes[1].caption_off, 8, 30, 158, 16),
          ui::Button(W::kDiagnosticDigitalLoopBack, W::kModes[2].caption_off, 8, 52, 158, 16),
          ui::Button(W::kLoopBackSignal, W::kModes[3].caption_off, 8, 74, 158, 16),
          ui::Button(W::kClose, "Close", 62, 108, 50, 14),
      },
      .icon = "icont1stat",
  };
  return t;
}
