#include "monitor/traffic/read_register_dialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "card/front_end.h"
#include "monitor/line/hex_field.h"

namespace {

bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

void ReadRegisterDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.bringToTop();
}

void ReadRegisterDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kRead) read();
  else if (id == 2) form_->endDialog(0);
}

void ReadRegisterDialog::read() {
  std::string text = form_->text(kRegister).substr(0, 3);
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsAsciiLetterOrDigit)) return;
  const card::Reply<uint8_t> reply =
      card::ReadFrontEndRegister(exec_, static_cast<uint8_t>(ParseHexField(text)));
  if (!reply.ok()) {
    form_->setText(kValue, "?");
    return;
  }
  char value[8];
  std::snprintf(value, sizeof value, "0x%X", reply.value);
  form_->setText(kValue, value);
}
