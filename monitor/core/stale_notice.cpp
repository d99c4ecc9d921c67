#include "monitor/core/stale_notice.h"

#include <ctime>

void StaleNotice::update(const std::string& device, bool answering) {
  if (answering) {
    clear();
    return;
  }
  // One notice for the whole outage: its time is when the answers stopped.
  if (shown_) return;
  shown_ = true;
  host_.setStatusText(ui::StatusField::Device, device + " not answering since " + time_of_day());
}

void StaleNotice::clear() {
  if (!shown_) return;
  shown_ = false;
  host_.setStatusText(ui::StatusField::Device, "");
}

std::string StaleNotice::LocalTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}
