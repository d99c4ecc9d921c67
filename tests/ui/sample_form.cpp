#include "tests/ui/sample_form.h"

namespace uitest {

using namespace ui;

FormTemplate SampleForm() {
  FormTemplate t;
  t.name = "SAMPLE";
  t.title = "Sample <i>Window</i>";
  t.w = 262;
  t.h = 204;
  t.minimize_box = true;
  t.controls = {
      GroupBox(kNoId, "Status", 7, 4, 128, 52),
      Label("&Channel status:", 14, 16, 58, 8, kChannel),
      Text(kChannel, "?", 74, 16, 54, 8),
      Label("Frames &queued:", 14, 28, 58, 8, kQueued),
      Text(kQueued, "0", 74, 27, 54, 10).with(kSunken | kRightAlign),
      Label("Reply:", 14, 41, 58, 8, kMarkup),
      Text(kMarkup, "<b>x</b>", 74, 41, 54, 8),
      Label("OOF", 142, 6, 20, 8, kOofLight).with(kCentered),
      Light(kOofLight, 146, 16, 12, 12),
      Label("RED", 166, 6, 20, 8, kRedLight).with(kCentered),
      Light(kRedLight, 170, 16, 12, 12),
      Label("AIS", 190, 6, 20, 8, kAisLight).with(kCentered),
      Light(kAisLight, 194, 16, 12, 12),
      Text(kStacked, "RXD", 240, 6, 10, 32).with(kVertical),
      Label("&Device name:", 7, 66, 50, 8, kDeviceName),
      Edit(kDeviceName, 60, 64, 80, 12, 8),
      Label("&Interval:", 150, 66, 36, 8, kInterval),
      Edit(kInterval, 188, 64, 40, 12).with(kDigitsOnly | kRightAlign),
      CheckBox(kEnableTimer, "&Enable timer", 7, 82, 64, 10),
      RadioButton(kT1, "T&1", 76, 82, 30, 10).with(kGroupStart),
      RadioButton(kE1, "E1", 108, 82, 30, 10),
      RadioButton(k56K, "56K", 140, 82, 30, 10),
      RadioButton(kPoll, "Poll", 190, 80, 40, 14).with(kPushLike | kManualCheck | kGroupStart),
      Label("&Sorted:", 7, 98, 60, 8, kSortedList),
      ListBox(kSortedList, 7, 108, 76, 44).with(kSorted | kVScroll),
      Label("C&olumns:", 90, 98, 60, 8, kColumnList),
      ListBox(kColumnList, 90, 108, 104, 44).with(kTabStops | kNoSelection),
      Label("&Framing:", 200, 98, 50, 8, kFraming),
      ComboBox(kFraming, 200, 108, 55, 60),
      Label("De&tail:", 7, 156, 60, 8, kDetail),
      Edit(kDetail, 7, 166, 186, 32).with(kMultiLine | kReadOnly | kVScroll | kFixedFont),
      Button(kOk, "OK", 205, 150, 50, 14).with(kDefaultButton),
      Button(kCancel, "Cancel", 205, 167, 50, 14),
      Button(kHiddenButton, "Hidden", 205, 184, 24, 14).with(kHidden),
      Button(kDisabledButton, "&Off", 231, 184, 24, 14).with(kDisabled),
  };
  t.context_menu = {{16, "&About Sample..."}};
  return t;
}

namespace {
const char* NotifyName(ui::Notify n) {
  switch (n) {
    case ui::Notify::Clicked: return "clicked";
    case ui::Notify::DoubleClicked: return "double";
    case ui::Notify::SelectionChanged: return "selection";
    case ui::Notify::Edited: return "edited";
  }
  return "?";
}
}  // namespace

void RecordingHandler::onInit(ui::Form& f) {
  form = &f;
  events.push_back("init");
  if (on_init) on_init(f);
}

void RecordingHandler::onCommand(int id, ui::Notify notify) {
  events.push_back(std::string(NotifyName(notify)) + " " + std::to_string(id));
  if (on_command) on_command(id, notify);
}

void RecordingHandler::onTimer(int timer_id) {
  events.push_back("timer " + std::to_string(timer_id));
  if (on_timer) on_timer(timer_id);
}

void RecordingHandler::onCloseRequest() {
  events.push_back("close");
  if (on_close) on_close();
}

void RecordingHandler::onChar(uint8_t ch) { events.push_back("char " + std::to_string(ch)); }

void RecordingHandler::onMouseDown() { events.push_back("mouse"); }

}  // namespace uitest
