#pragma once
// "FT1 Configuration": reads the FT1 unit's line configuration once when it
// opens, shows it, and writes the edited record back on each
// "Set Configuration". The unit judges the values; the dialog only reports.

#include <string_view>

#include "driver_if/execute.h"
#include "driver_if/records.h"
#include "ui/form.h"
#include "ui/prompter.h"

const ui::FormTemplate& Ft1ConfigTemplate();

class Ft1ConfigDialog : public ui::FormHandler {
 public:
  static constexpr int kFramingGroup = 1062;
  static constexpr int kEsf = 1042;
  static constexpr int kD4 = 1046;
  static constexpr int kEncodingGroup = 1063;
  static constexpr int kB8zs = 1047;
  static constexpr int kAmi = 1048;
  static constexpr int kLineBuildOutGroup = 1064;
  static constexpr int kFirstLineBuildOut = 300;  // 300 to 307, one per value 0 to 7
  static constexpr int kLineBuildOutCount = 8;
  static constexpr int kClockGroup = 1065;
  static constexpr int kNormal = 1057;
  static constexpr int kMaster = 1058;
  static constexpr int kChannelBase = 1060;
  static constexpr int kBaudRate = 1061;
  static constexpr int kSet = 1043;
  static constexpr int kClose = 399;

  Ft1ConfigDialog(CommandExecutor& exec, ui::Prompter& prompter) : exec_(exec), prompter_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { form_->endDialog(0); }

  // Leading decimal digits; no digit first gives 0, and a value past the
  // 16-bit field is sent as its largest value for the unit to judge.
  static uint16_t ParseField(std::string_view text);

 private:
  bool read();
  void fill(const Ft1Configuration& c);
  Ft1Configuration fromControls() const;
  void set();
  void report(uint8_t rc, uint16_t reply_length);

  CommandExecutor& exec_;
  ui::Prompter& prompter_;
  ui::Form* form_ = nullptr;
  Ft1Configuration read_{};
};
