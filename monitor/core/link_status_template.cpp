#include "monitor/core/link_status_window.h"

const ui::FormTemplate& LinkStatusTemplate() {
  static const ui::FormTemplate t{
      .name = "LSTAT",
      .window_class = "TVMN_LINKS",
      .title = "Link Status",
      .x = 16, .y = 22, .w = 181, .h = 68,
      .controls = {
          ui::Label("Channel status:", 8, 8, 110, 9, 201),
          ui::Text(201, "?", 122, 8, 52, 9),
          ui::Label("Frames queued for reception:", 8, 19, 110, 9, 202),
          ui::Text(202, "?", 122, 19, 52, 9),
          ui::Label("Receiver status:", 8, 30, 110, 9, 203),
          ui::Text(203, "?", 122, 30, 52, 9),
          ui::Button(kCloseButton, "&Close", 65, 46, 50, 14),
      },
      .icon = "iconlstat",
      .minimize_box = true,
      .copy = ui::CopyKind::Values,
  };
  return t;
}
