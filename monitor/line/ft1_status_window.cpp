#include "monitor/line/ft1_status_window.h"

#include "card/ft1.h"

void Ft1StatusWindow::onInit(ui::Form& form) {
  form_ = &form;
  timer_ = host_.startTimer(form, kRefreshTimer, kRefreshMs);
  if (!timer_) {
    prompter_.show({"Couldn't get system timer. Close some other application and try again.",
                    "T1 Status Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::None});
    host_.postCloseRequest(form);
    return;
  }
  form.setEnabled(kPoll, true);
  form.bringToTop();
}

void Ft1StatusWindow::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kSelect) select();
  else if (id == kHiddenClose) close_();
}

void Ft1StatusWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) refresh();
}

void Ft1StatusWindow::stopTimer() {
  if (timer_) host_.stopTimer(*form_, kRefreshTimer);
  timer_ = false;
}

void Ft1StatusWindow::refresh() {
  form_->setChecked(kPoll, !form_->isChecked(kPoll));
  // A failed read leaves the lights as they were: unchanged for the period.
  if (const card::Reply<card::Ft1Status> status = card::ReadFt1Status(exec_); status.ok()) {
    Ft1LightColours colours = tracker_.sample(status.value.a, status.value.b);
    for (size_t i = 0; i < colours.size(); ++i) form_->setLight(kFirstLight + static_cast<int>(i), colours[i]);
  }
  int chosen = 0;
  if (tracker_.countTick(chosen) && chosen != text_index_) {
    text_index_ = chosen;
    form_->setText(kText, Ft1StatusText(chosen));
  }
}

void Ft1StatusWindow::select() {
  for (int attempt = 0; attempt < kSelectAttempts; ++attempt) {
    if (card::Ft1Select(exec_) == RC_OK) return;
  }
  prompter_.show({"Couldn't perform SELECT. Try again", "T1 Status Error", ui::Icon::Error, ui::Buttons::Ok,
                  ui::Owner::None});
}
