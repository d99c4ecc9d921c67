#include "monitor/line/te1_alarms_window.h"

namespace {

ui::ControlTemplate CounterLabel(int id, std::string text, int y, int buddy) {
  ui::ControlTemplate c = ui::Label(std::move(text), 10, y, 98, 9, buddy);
  c.id = id;
  return c;
}

}  // namespace

const ui::FormTemplate& Te1AlarmsTemplate() {
  using W = Te1AlarmsWindow;
  static const ui::FormTemplate t{
      .name = "TE1ALARMS",
      .title = "Talvora TE-1 Alarms Window",
      .w = 187, .h = 143,
      .controls = {
          ui::GroupBox(ui::kNoId, "", 8, 4, 171, 44),
          ui::Label("OOF", 18, 14, 32, 9, W::kOofLight).with(ui::kCentered),
          ui::Light(W::kOofLight, 28, 26, 12, 12),
          ui::Label("RED", 58, 14, 32, 9, W::kRedLight).with(ui::kCentered),
          ui::Light(W::kRedLight, 68, 26, 12, 12),
          ui::Label("AIS", 98, 14, 32, 9, W::kAisLight).with(ui::kCentered),
          ui::Light(W::kAisLight, 108, 26, 12, 12),
          ui::Label("YEL", 138, 14, 32, 9, W::kYelLight).with(ui::kCentered),
          ui::Light(W::kYelLight, 148, 26, 12, 12),
          CounterLabel(ui::kNoId, "Framing Bit Error Count: ", 58, W::kFramingBitErrors),
          ui::Text(W::kFramingBitErrors, "?", 110, 57, 66, 11).with(ui::kSunken | ui::kRightAlign),
          CounterLabel(W::kSecondCounterLabel, "OOF Error Count: ", 73, W::kSecondCounter),
          ui::Text(W::kSecondCounter, "?", 110, 72, 66, 11).with(ui::kSunken | ui::kRightAlign),
          CounterLabel(W::kThirdCounterLabel, "Bit Error Count: ", 88, W::kThirdCounter),
          ui::Text(W::kThirdCounter, "?", 110, 87, 66, 11).with(ui::kSunken | ui::kRightAlign),
          CounterLabel(ui::kNoId, "LCV Error Count: ", 103, W::kLcvErrors),
          ui::Text(W::kLcvErrors, "?", 110, 102, 66, 11).with(ui::kSunken | ui::kRightAlign),
          ui::Button(W::kFlush, "FLUSH", 68, 122, 50, 14).with(ui::kDefaultButton),
      },
      .icon = "icont1stat",
  };
  return t;
}
