#include "monitor/line/ft1_statistics_window.h"

#include <algorithm>

#include "card/ft1.h"

void Ft1StatisticsWindow::onInit(ui::Form& form) {
  form_ = &form;
  timer_ = host_.startTimer(form, kRefreshTimer, kRefreshMs);
  if (!timer_) {
    prompter_.show({"Couldn't get system timer. Close some other application and try again.",
                    "T1 Status Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::None});
    host_.postCloseRequest(form);
    return;
  }
  form.bringToTop();
  rows_ = 0;
  flushing_ = false;
  flags_.change(exec_, FT1_STATISTICS_MONITOR, FT1_STATISTICS_FLUSH);
}

void Ft1StatisticsWindow::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kFlush) flush();
  else if (id == kClose) close_();
}

void Ft1StatisticsWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) tick();
}

void Ft1StatisticsWindow::stopTimer() {
  if (timer_) host_.stopTimer(*form_, kRefreshTimer);
  timer_ = false;
}

std::string Ft1StatisticsWindow::RowText(std::string_view reply) {
  std::string row(reply.substr(0, kRowLength));
  if (!row.empty()) row[0] = ' ';
  // The text ends at its first terminator, as the unit's strings do.
  if (size_t end = row.find('\0'); end != std::string::npos) row.resize(end);
  return row;
}

void Ft1StatisticsWindow::tick() {
  if (!flushing_) {
    const card::Reply<std::string> line = card::ReadFt1Statistics(exec_);
    if (line.ok() && !line.value.empty()) addRow(RowText(line.value));
    else if (line.rc == RC_FT1_STATS_OFF) flags_.change(exec_, FT1_STATISTICS_MONITOR, FT1_STATISTICS_FLUSH);
  }
}

void Ft1StatisticsWindow::addRow(const std::string& row) {
  if (rows_ == kMaxRows) {
    form_->listDelete(kList, 0);
    --rows_;
  }
  form_->listAdd(kList, row);
  ++rows_;
  form_->listSelect(kList, rows_ - 1);
}

void Ft1StatisticsWindow::flush() {
  flushing_ = true;
  changeFlagsPersistently(FT1_STATISTICS_FLUSH, FT1_STATISTICS_MONITOR);
  changeFlagsPersistently(FT1_STATISTICS_MONITOR, FT1_STATISTICS_FLUSH);
  flushing_ = false;
}

void Ft1StatisticsWindow::changeFlagsPersistently(uint8_t set, uint8_t clear) {
  if (flags_.change(exec_, set, clear) == 0) return;
  for (int attempt = 1; attempt < kFlushAttempts; ++attempt)
    if (card::SendFt1MonitorFlags(exec_, flags_.value()) == 0) return;
}
