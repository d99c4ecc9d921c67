#pragma once
// "CONFIG": the polling interval in thousands of loop passes, the timer
// period and whether the system timer is used.

#include "monitor/core/polling.h"
#include "monitor/core/profile_store.h"
#include "ui/form.h"
#include "ui/prompter.h"

const ui::FormTemplate& PollingConfigTemplate();

class PollingConfigDialog : public ui::FormHandler {
 public:
  static constexpr int kInterval = 102;
  static constexpr int kTimerPeriod = 104;
  static constexpr int kEnableTimer = 105;
  static constexpr int kTimerGroup = 106;
  static constexpr int kTimerState = 200;

  PollingConfigDialog(Polling& polling, ProfileStore& settings, ui::Prompter& prompter)
      : polling_(polling), settings_(settings), prompter_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;

 private:
  void accept();

  Polling& polling_;
  ProfileStore& settings_;
  ui::Prompter& prompter_;
  ui::Form* form_ = nullptr;
};

// A dialog box's unsigned number: leading blanks, then decimal digits up to
// the first other character; 0 when no digit; saturates instead of wrapping.
unsigned long long DialogNumber(std::string_view text);
