#pragma once
// "Set Streaming Configuration on Device": edits the CHDLC parameters, the
// T1/E1 line parameters and the Active Channels text.

#include "monitor/traffic/configuration_records.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/prompter.h"

const ui::FormTemplate& SetConfigTemplate();

class SetConfigDialog : public ui::FormHandler {
 public:
  static constexpr int kOk = 100;
  static constexpr int kCancel = 101;
  static constexpr int kManualDtrRts = 400;
  static constexpr int kIgnoreModemChanges = 401;
  static constexpr int kStatisticsFirst = 500;  // 500 to 503
  static constexpr int kBaudRate = 304;
  static constexpr int kMaxFrameSize = 308;
  static constexpr int kPercentTxBuffers = 320;
  static constexpr int kInterface = 1011;
  static constexpr int kMediaType = 1012;
  static constexpr int kT1Framing = 1013;
  static constexpr int kE1Framing = 1014;
  static constexpr int kT1LineDecoding = 1015;
  static constexpr int kT1Lbo = 1016;
  static constexpr int kE1LineDecoding = 1017;
  static constexpr int kClocking = 1018;
  static constexpr int kActiveChannels = 1019;

  SetConfigDialog(ConfigurationRecords& records, ui::Prompter& prompter)
      : records_(records), prompter_(prompter) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;

 private:
  void fill();
  void applyEnablingRule(int media_type);
  void store();

  ConfigurationRecords& records_;
  ui::Prompter& prompter_;
  ui::Form* form_ = nullptr;
};

// Runs the dialog; true when it was confirmed with a valid configuration.
bool EditConfiguration(ui::Host& host, ui::Prompter& prompter, ConfigurationRecords& records);

// The decimal string-to-long rule of the records' platform: leading blanks,
// one sign, digits; saturates at the 32-bit limits; 0 without digits.
int32_t DecimalToLong(std::string_view text);
// Leading blanks, digits; the low 16 bits of the number, 0 without digits.
uint16_t DecimalLow16(std::string_view text);
