#include "monitor/traffic/send_frames_window.h"

#include "monitor/traffic/frame_text.h"

const ui::FormTemplate& SendFramesTemplate() {
  using W = SendFramesWindow;
  static const ui::FormTemplate t{
      .name = "DENTRY",
      .title = "Send Frames",
      .x = 60, .y = 30, .w = 280, .h = 200,
      .controls = {
          ui::Label("&Data:", 6, 8, 24, 9, W::kData),
          ui::Edit(W::kData, 32, 6, 242, 12, static_cast<int>(kMaxFrameText)).with(ui::kNotifyEdits),
          ui::CheckBox(W::kDataIsText, "Data is &Text", 32, 21, 80, 10),
          ui::CheckBox(W::kCapture, "Capture to file...", 130, 21, 90, 10),
          ui::Text(ui::kNoId,
                   "Note: If 'Data is Text' is not checked, enter a sequence of hexadecimal bytes "
                   "separated by spaces in the Data box.  Example: 03 CC 45 01 ...",
                   6, 33, 268, 18),
          ui::Label("Double-click on a line below to select a previously transmitted frame.", 6, 54,
                    268, 9, W::kHistory),
          ui::ListBox(W::kHistory, 6, 64, 268, 66).with(ui::kVScroll),
          ui::GroupBox(ui::kNoId, "Send Many", 6, 134, 268, 42),
          ui::Label("&Length:", 12, 148, 30, 9, W::kLength),
          ui::Edit(W::kLength, 44, 146, 40, 12),
          ui::Button(W::kStartStop, "Start", 220, 145, 46, 14),
          ui::Text(W::kStatus, "Stopped", 12, 162, 254, 9),
          ui::Button(W::kSend, "SEND", 80, 181, 50, 14).with(ui::kDefaultButton),
          ui::Button(W::kClose, "Close", 150, 181, 50, 14),
      },
  };
  return t;
}
