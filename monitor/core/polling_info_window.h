#pragma once
// "Polling and Device Info": the polling tick indicator, the last mailbox
// exchange and the device connection. It sends no commands of its own.

#include "driver_if/execute.h"
#include "monitor/core/monitor_window.h"

const ui::FormTemplate& PollingInfoTemplate();

class PollingInfoWindow : public MonitorWindow, public CommandDisplay {
 public:
  static constexpr int kTickIndicator = 101;
  static constexpr int kReturnCode = 100;
  static constexpr int kLastCommand = 900;
  static constexpr int kDeviceName = 901;
  static constexpr int kStatus = 902;
  static constexpr int kResult = 903;

  using MonitorWindow::MonitorWindow;

  void showDeviceName(std::string_view name) { form_->setText(kDeviceName, name); }

  // CommandDisplay
  void showLastCommand(std::string_view name) override { form_->setText(kLastCommand, name); }
  void showReturnCode(std::string_view text) override { form_->setText(kReturnCode, text); }
  void showStatus(std::string_view text) override { form_->setText(kStatus, text); }
  void showResult(std::string_view text) override { form_->setText(kResult, text); }

 private:
  void refresh() override;
};
