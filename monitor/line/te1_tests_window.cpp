#include "monitor/line/te1_tests_window.h"

#include "driver_if/mailbox.h"

std::string LoopbackCommandName(uint8_t code) {
  switch (code) {
    case ACTIVATE_LINELB_MODE: return "ACTIVATE_LINELB_MODE";
    case DEACTIVATE_LINELB_MODE: return "DEACTIVATE_LINELB_MODE";
    case ACTIVATE_PAYLB_MODE: return "ACTIVATE_PAYLB_MODE";
    case DEACTIVATE_PAYLB_MODE: return "DEACTIVATE_PAYLB_MODE";
    case ACTIVATE_DDLB_MODE: return "ACTIVATE_DDLB_MODE";
    case DEACTIVATE_DDLB_MODE: return "DEACTIVATE_DDLB_MODE";
    case ACTIVATE_LB_MODE: return "ACTIVATE_LB_MODE";
    case DEACTIVATE_LB_MODE: return "DEACTIVATE_LB_MODE";
    default: return "Unknown CMD!";
  }
}

void Te1TestsWindow::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kClose) {
    close_();
    return;
  }
  for (size_t i = 0; i < kModes.size(); ++i)
    if (kModes[i].button == id) toggle(i);
}

void Te1TestsWindow::toggle(size_t mode) {
  const Mode& m = kModes[mode];
  // The flag follows the press whatever the card answers, so a second
  // press always sends the opposite command.
  on_[mode] = !on_[mode];
  const uint8_t rc = card::SetLoopback(exec_, m.mode, on_[mode]);
  if (CommandDisplay* display = exec_.display()) {
    const uint8_t code = card::LoopbackCommand(m.mode, on_[mode]);
    display->showLastCommand(LoopbackCommandName(code));
    display->showReturnCode(FormatReturnCode(rc));
    display->showResult(rc == 0 ? "Success" : "Failure");
  }
  form_->setText(m.button, on_[mode] ? m.caption_on : m.caption_off);
}

bool Te1TestsWindow::anyModeOn() const {
  for (bool on : on_)
    if (on) return true;
  return false;
}

void Te1TestsWindow::switchAllOff() {
  for (size_t i = 0; i < kModes.size(); ++i) {
    if (!on_[i]) continue;
    on_[i] = false;
    card::SetLoopback(exec_, kModes[i].mode, false);
  }
}
