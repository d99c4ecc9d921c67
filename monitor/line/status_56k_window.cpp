#include "monitor/line/status_56k_window.h"

#include "card/front_end.h"

namespace {

using S = card::Status56K;

struct AlarmBit {
  int light;
  uint16_t bit;
};
constexpr AlarmBit kAlarmBits[] = {
    {Status56KWindow::kRlosLight, S::kRlos}, {Status56KWindow::kDmiLight, S::kDmi},
    {Status56KWindow::kZscLight, S::kZsc},   {Status56KWindow::kCmiLight, S::kCmi},
    {Status56KWindow::kOosLight, S::kOos},   {Status56KWindow::kOofLight, S::kOof},
    {Status56KWindow::kDlpLight, S::kDlp},   {Status56KWindow::kUmcLight, S::kUmc},
};

}  // namespace

void Status56KWindow::onCommand(int id, ui::Notify notify) {
  if (id == kClose && notify == ui::Notify::Clicked) close_();
}

void Status56KWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) refresh();
}

void Status56KWindow::refresh() {
  const card::Reply<card::Status56K> reply = card::Read56KStatus(exec_);
  if (reply.ok()) {
    last_status_ = reply.value;
    showLights(last_status_);
  }
  const card::ReceiveLevel level = last_status_.receiveLevel();
  form_->setText(kInsertionLoss, level.insertion_loss_db);
  form_->setText(kLineLength, level.line_length_km);
}

void Status56KWindow::showLights(const card::Status56K& status) {
  form_->setLight(kInsLight, status.signalGood() ? ui::LightColour::Green : ui::LightColour::Red);
  for (const AlarmBit& a : kAlarmBits)
    form_->setLight(a.light, status.raised(a.bit) ? ui::LightColour::Red : ui::LightColour::Off);
}
