#include "monitor/line/te1_alarms_window.h"

#include <iterator>
#include <string>

#include "card/front_end.h"

namespace {

ui::LightColour AlarmLight(const card::Te1Alarms& alarms, uint16_t bit) {
  return alarms.raised(bit) ? ui::LightColour::Red : ui::LightColour::Green;
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
  card::FlushFrontEndCounters(exec_);
}

void Te1AlarmsWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) refresh();
}

void Te1AlarmsWindow::refresh() {
  const card::Reply<card::Te1Alarms> reply = card::ReadTe1Alarms(exec_);
  if (!reply.ok()) return;
  const card::Te1Alarms& alarms = reply.value;
  using A = card::Te1Alarms;
  form_->setLight(kOofLight, AlarmLight(alarms, A::kOof));
  form_->setLight(kRedLight, AlarmLight(alarms, A::kRed));
  form_->setLight(kAisLight, AlarmLight(alarms, A::kAis));
  // E1 has no yellow alarm: its light stays dark.
  if (front_end_type_ == kFrontEndT1) form_->setLight(kYelLight, AlarmLight(alarms, A::kYel));
  // All four are event counts: unsigned, so a large count never reads negative.
  const int counters[] = {kFramingBitErrors, kSecondCounter, kThirdCounter, kLcvErrors};
  for (size_t i = 0; i < std::size(counters); ++i)
    form_->setText(counters[i], std::to_string(alarms.counters[i]));
}
