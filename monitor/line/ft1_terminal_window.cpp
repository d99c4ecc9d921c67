#include "monitor/line/ft1_terminal_window.h"

#include "card/ft1.h"

void Ft1TerminalWindow::onInit(ui::Form& form) {
  form_ = &form;
  form.bringToTop();
  lines_.clear();
  line_index_ = 0;
  // The "1" brings up the unit's menu.
  if (uint8_t rc = send(kOpeningCharacter); rc != 0) {
    const char* text = "Cannot perform the command on Remote Driver.";
    if (rc == RC_NO_FT1_ADAPTER)
      text = "Advanced T1 Configuration Window can not be opened because\nthe monitor is not connected to "
             "VR20/FT-1 or VR40/FT-1 adapter.";
    else if (rc == RC_FT1_TX_BUSY)
      text = "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command";
    prompter_.show({text, "Set T1 Configuration", ui::Icon::Warning});
    host_.postCloseRequest(form);
  }
  timer_ = host_.startTimer(form, kRefreshTimer, kRefreshMs);
  if (!timer_) {
    prompter_.show({"Couldn't get system timer. Close some other application and try again.",
                    "T1 Advanced Configuration", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::None});
    host_.postCloseRequest(form);
  }
}

void Ft1TerminalWindow::onCommand(int id, ui::Notify notify) {
  if (notify == ui::Notify::Clicked && id == kClose) host_.postCloseRequest(*form_);
}

void Ft1TerminalWindow::onTimer(int timer_id) {
  if (timer_id == kRefreshTimer) receiveFromUnit();
}

void Ft1TerminalWindow::stopTimer() {
  if (timer_) host_.stopTimer(*form_, kRefreshTimer);
  timer_ = false;
}

uint8_t Ft1TerminalWindow::send(uint8_t ch) {
  return card::SendFt1Character(exec_, ch);
}

void Ft1TerminalWindow::onChar(uint8_t ch) {
  // Esc reaches the unit too: it leaves the unit's menus.
  if (ch == kEsc) host_.postCloseRequest(*form_);
  if (send(ch) != RC_FT1_TX_BUSY) return;
  for (int resend = 0; resend < kBusyResends; ++resend)
    if (send(ch) == 0) return;
  prompter_.show({"Data can not be transmitted to T1 board. Please contact Talvora technical support.",
                  "Set T1 Configuration", ui::Icon::Warning});
}

void Ft1TerminalWindow::receiveFromUnit() {
  const card::Reply<std::string> reply = card::ReadFt1Characters(exec_);
  if (!reply.ok()) return;
  const std::string& text = reply.value;
  receive({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

void Ft1TerminalWindow::receive(std::span<const uint8_t> characters) {
  if (characters.empty()) return;
  lines_.take(characters, [this](std::string_view line) { completeLine(line); });
  if (!lines_.line().empty()) showLine(lines_.line());
}

void Ft1TerminalWindow::showLine(std::string_view line) {
  form_->listDelete(kList, line_index_);
  // The list shows text: a NUL from the unit would end the line early.
  form_->listInsert(kList, line_index_, line.substr(0, line.find('\0')));
  form_->listSelect(kList, line_index_);
}

void Ft1TerminalWindow::completeLine(std::string_view line) {
  showLine(line);
  if (line_index_ == kMaxCompletedLines) {
    form_->listDelete(kList, 0);
    --line_index_;
  }
  form_->listAdd(kList, " ");
  form_->listSelect(kList, line_index_);
  ++line_index_;
}
