#pragma once
// The status bar's word on a card that stopped answering the polls:
// "TALVSTRM0 not answering since 10:32:05", set once when the answers stop
// and taken away when they come back.

#include <functional>
#include <string>

#include "ui/host.h"

class StaleNotice {
 public:
  explicit StaleNotice(ui::Host& host) : host_(host) {}

  // After each polling tick: whether every window got its answers.
  void update(const std::string& device, bool answering);
  // The connection ended: nothing is stale any more.
  void clear();
  bool shown() const { return shown_; }

  // The local time of day as "hh:mm:ss".
  std::function<std::string()> time_of_day = LocalTimeOfDay;
  static std::string LocalTimeOfDay();

 private:
  ui::Host& host_;
  bool shown_ = false;
};
