#include "monitor/line/status_56k_window.h"

#include <array>

#include "driver_if/le.h"
#include "driver_if/mailbox.h"

namespace {

constexpr uint16_t kReceiveLevelMask = 0x0F00;
constexpr unsigned kReceiveLevelShift = 8;
// Levels above this one light INS green.
constexpr unsigned kWeakestGoodLevel = 8;

constexpr std::array<ReceiveLevel, 16> kReceiveLevels = {{
    {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"}, {"?", "?"},
    {"50.0", "8.5"}, {"44.4", "7.5"}, {"38.4", "6.4"}, {"32.3", "5.3"}, {"26.0", "4.2"},
    {"19.7", "3.2"}, {"13.6", "2.1"}, {"7.0", "1.1"}, {"0.0", "0.0"},
}};

struct AlarmBit {
  int light;
  uint16_t bit;
};
constexpr AlarmBit kAlarmBits[] = {
    {Status56KWindow::kRlosLight, 0x8000}, {Status56KWindow::kDmiLight, 0x0080},
    {Status56KWindow::kZscLight, 0x0040},  {Status56KWindow::kCmiLight, 0x0020},
    {Status56KWindow::kOosLight, 0x0010},  {Status56KWindow::kOofLight, 0x0008},
    {Status56KWindow::kDlpLight, 0x0004},  {Status56KWindow::kUmcLight, 0x0002},
};

unsigned LevelIndex(uint16_t status) { return (status & kReceiveLevelMask) >> kReceiveLevelShift; }

}  // namespace

ReceiveLevel ReceiveLevelOf(uint16_t status) { return kReceiveLevels[LevelIndex(status)]; }

void Status56KWindow::onCommand(int id, ui::Notify notify) {
  if (id == kClose && notify == ui::Notify::Clicked) close_();
}

void Status56KWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) refresh();
}

void Status56KWindow::refresh() {
  CommandBlock& cb = exec_.block();
  // The two request bytes mean nothing to this window; send them cleared.
  const uint8_t request[2] = {0, 0};
  cb.prepare(READ_FRONT_END_ALARMS, request);
  exec_.ExecuteCommand2K();
  if (cb.returnCode() == 0) {
    last_status_ = le::get_u16(cb.data(), 0);
    showLights(last_status_);
  }
  const ReceiveLevel level = ReceiveLevelOf(last_status_);
  form_->setText(kInsertionLoss, level.insertion_loss_db);
  form_->setText(kLineLength, level.line_length_km);
}

void Status56KWindow::showLights(uint16_t status) {
  form_->setLight(kInsLight, LevelIndex(status) > kWeakestGoodLevel ? ui::LightColour::Green
                                                                     : ui::LightColour::Red);
  for (const AlarmBit& a : kAlarmBits)
    form_->setLight(a.light, (status & a.bit) != 0 ? ui::LightColour::Red : ui::LightColour::Off);
}
