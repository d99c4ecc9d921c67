#include "monitor/line/te1_alarms_window.h"

#include <iterator>
#include <string>

#include "driver_if/le.h"
#include "driver_if/mailbox.h"

namespace {

constexpr uint16_t kOofBit = 0x0008;
constexpr uint16_t kRedBit = 0x0010;
constexpr uint16_t kAisBit = 0x0020;
constexpr uint16_t kYelBit = 0x0400;

ui::LightColour AlarmLight(uint16_t alarms, uint16_t bit) {
  return (alarms & bit) != 0 ? ui::LightColour::Red : ui::LightColour::Green;
}

}  // namespace

void Te1AlarmsWindow::onInit(ui::Form& form) {
  form_ = &form;
  if (front_end_type_ == kFrontEndE1) {
    form.setText(kSecondCounterLabel, "Far End Block Count");
    form.setText(kThirdCounterLabel, "CRC Errors count");
  }
}

void Te1AlarmsWindow::onCommand(int id, ui::Notify notify) {
  if (id != kFlush || notify != ui::Notify::Clicked) return;
  // The next refresh shows whatever the card then reports.
  exec_.block().prepare(FLUSH_FRONT_END_COUNTERS);
  exec_.ExecuteCommand2K();
}

void Te1AlarmsWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) refresh();
}

void Te1AlarmsWindow::refresh() {
  CommandBlock& cb = exec_.block();
  cb.prepare(READ_FRONT_END_ALARMS);
  exec_.ExecuteCommand2K();
  if (cb.returnCode() != 0) return;
  auto data = cb.data();
  const uint16_t alarms = le::get_u16(data, 0);
  form_->setLight(kOofLight, AlarmLight(alarms, kOofBit));
  form_->setLight(kRedLight, AlarmLight(alarms, kRedBit));
  form_->setLight(kAisLight, AlarmLight(alarms, kAisBit));
  // E1 has no yellow alarm: its light stays dark.
  if (front_end_type_ == kFrontEndT1) form_->setLight(kYelLight, AlarmLight(alarms, kYelBit));
  // All four are event counts: unsigned, so a large count never reads negative.
  const int counters[] = {kFramingBitErrors, kSecondCounter, kThirdCounter, kLcvErrors};
  for (size_t i = 0; i < std::size(counters); ++i)
    form_->setText(counters[i], std::to_string(le::get_u32(data, 4 + 4 * i)));
}
