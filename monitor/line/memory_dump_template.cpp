#include "monitor/line/memory_dump_dialog.h"

const ui::FormTemplate& MemoryDumpTemplate() {
  using D = MemoryDumpDialog;
  static const ui::FormTemplate t{
      .name = "MEMORYDUMP",
      .title = "Adapter Memory Dump - for expert use only!",
      .w = 300, .h = 218,
      .controls = {
          ui::Label("&Address (hex):", 8, 10, 54, 9, D::kAddress),
          ui::Edit(D::kAddress, 64, 8, 40, 12).with(ui::kFixedFont),
          ui::Label("&Length (hex)", 116, 10, 46, 9, D::kLength),
          ui::Edit(D::kLength, 164, 8, 40, 12).with(ui::kFixedFont),
          ui::Button(D::kGetMemory, "&Get Memory", 226, 7, 66, 14).with(ui::kDefaultButton),
          ui::ListBox(D::kListing, 8, 28, 284, 164)
              .with(ui::kVScroll | ui::kTabStops | ui::kNoSelection | ui::kSorted | ui::kFixedFont),
          ui::Button(D::kSaveDump, "&Save Dump", 84, 198, 60, 14),
          ui::Button(D::kClose, "&Close", 156, 198, 60, 14),
      },
      .copy = ui::CopyKind::ControlText,
      .copy_control = D::kListing,
  };
  return t;
}
