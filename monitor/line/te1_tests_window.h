#pragma once
// "T1/E1 Tests": the four loop-back test modes of a T1 or E1 front end, one
// button each whose caption says what the next press does.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "card/front_end.h"
#include "driver_if/execute.h"
#include "ui/form.h"
#include "ui/prompter.h"

const ui::FormTemplate& Te1TestsTemplate();

// "ACTIVATE_LINELB_MODE" and the others by code; "Unknown CMD!" for the rest.
std::string LoopbackCommandName(uint8_t code);

class Te1TestsWindow : public ui::FormHandler {
 public:
  static constexpr int kLineLoopBack = 1034;
  static constexpr int kPayloadLoopBack = 1035;
  static constexpr int kDiagnosticDigitalLoopBack = 1031;
  static constexpr int kLoopBackSignal = 1032;
  static constexpr int kClose = 1033;

  struct Mode {
    int button;
    const char* caption_off;
    const char* caption_on;
    card::Loopback mode;
  };
  // In the order modes are switched off at close.
  static constexpr std::array<Mode, 4> kModes = {{
      {kLineLoopBack, "Activate Line Loop Back Mode", "Deactivate Line Loop Back Mode",
       card::Loopback::kLine},
      {kPayloadLoopBack, "Activate Payload Loop Back Mode", "Deactivate Payload Loop Back Mode",
       card::Loopback::kPayload},
      {kDiagnosticDigitalLoopBack, "Activate Diagnostic Digital Loop Back Mode",
       "Deactivate Diagnostic Digital Loop Back Mode", card::Loopback::kDiagnosticDigital},
      {kLoopBackSignal, "Send Activate Loop Back Signal", "Send Deactivate Loop Back Signal",
       card::Loopback::kRemoteSignal},
  }};

  // close: the owner's close path for this window.
  Te1TestsWindow(CommandExecutor& exec, std::function<void()> close)
      : exec_(exec), close_(std::move(close)) {}

  void onInit(ui::Form& form) override { form_ = &form; }
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

  bool anyModeOn() const;
  // Switches off every mode still on; the card's answers are not examined.
  void switchAllOff();

 private:
  void toggle(size_t mode);

  CommandExecutor& exec_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  std::array<bool, 4> on_{};
};
