#pragma once
// "Advanced T1 Configuration": a terminal on the FT1 unit's character
// channel. Every typed key goes to the unit; what the unit sends back is
// shown line by line, the latest 100 lines and the line being received.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "driver_if/execute.h"
#include "monitor/line/ft1_line_assembly.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/prompter.h"

const ui::FormTemplate& Ft1TerminalTemplate();

class Ft1TerminalWindow : public ui::FormHandler {
 public:
  static constexpr int kList = 1066;
  static constexpr int kClose = 399;
  static constexpr int kRefreshTimer = 1;
  static constexpr unsigned kRefreshMs = 100;
  static constexpr int kMaxCompletedLines = 100;
  static constexpr int kBusyResends = 20;
  static constexpr uint8_t kEsc = 27;
  static constexpr uint8_t kOpeningCharacter = '1';

  // close: the window's close path, run by its owner.
  Ft1TerminalWindow(ui::Host& host, ui::Prompter& prompter, CommandExecutor& exec, std::function<void()> close)
      : host_(host), prompter_(prompter), exec_(exec), close_(std::move(close)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onChar(uint8_t ch) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

  void stopTimer();
  // What the unit sent, as one READ_FT1_CHARACTERS reply brings it.
  void receive(std::span<const uint8_t> characters);

 private:
  uint8_t send(uint8_t ch);
  void receiveFromUnit();
  void showLine(std::string_view line);
  void completeLine(std::string_view line);

  ui::Host& host_;
  ui::Prompter& prompter_;
  CommandExecutor& exec_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  bool timer_ = false;
  Ft1LineAssembly lines_;
  int line_index_ = 0;
};
