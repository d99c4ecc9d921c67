#include "monitor/line/ft1_config_dialog.h"

#include <algorithm>
#include <string>

#include "card/ft1.h"

namespace {

constexpr char kNotConnected[] =
    "The command failed because the monitor is not connected to VR20/FT-1 or VR40/FT-1 adapter.";
constexpr char kTxBusy[] = "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command";
constexpr char kRemoteDriver[] = "Cannot perform the command on Remote Driver";

}  // namespace

uint16_t Ft1ConfigDialog::ParseField(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<uint32_t>(value * 10 + static_cast<uint32_t>(c - '0'), 0x10000);
  }
  return static_cast<uint16_t>(std::min<uint32_t>(value, 0xFFFF));
}

void Ft1ConfigDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.bringToTop();
  if (!read()) form.endDialog(0);
}

void Ft1ConfigDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == kSet) set();
  else if (id == kClose) form_->endDialog(0);
}

bool Ft1ConfigDialog::read() {
  const card::Reply<Ft1Configuration> reply = card::ReadFt1Configuration(exec_);
  const uint8_t rc = reply.rc;
  if (rc == 0) {
    read_ = reply.value;
    fill(read_);
    return true;
  }
  ui::Prompt p{kRemoteDriver, "Read T1 Configuration", ui::Icon::Warning};
  if (rc == RC_NO_FT1_ADAPTER) {
    p.text = kNotConnected;
    p.icon = ui::Icon::Error;
  } else if (rc == RC_FT1_BAD_CONFIGURATION) {
    p.text = "The FT1 configuration was not read from the CSU\\DSU.\nIf FT1 Operational Statistics Window is "
             "open, please close it and repeat the command.";
  } else if (rc == RC_FT1_TX_BUSY) {
    p.text = "The command failed because the asyncronous transmit buffer is currently occupied. Please repeat "
             "the command.\n";
  }
  prompter_.show(p);
  return false;
}

void Ft1ConfigDialog::fill(const Ft1Configuration& c) {
  form_->setChecked(kEsf, c.framing == 0);
  form_->setChecked(kD4, c.framing == 1);
  form_->setChecked(kB8zs, c.encoding == 0);
  form_->setChecked(kAmi, c.encoding == 1);
  for (int i = 0; i < kLineBuildOutCount; ++i) form_->setChecked(kFirstLineBuildOut + i, c.line_build_out == i);
  form_->setChecked(kNormal, c.clock_mode == 0);
  form_->setChecked(kMaster, c.clock_mode == 1);
  form_->setText(kChannelBase, std::to_string(c.channel_base));
  form_->setText(kBaudRate, std::to_string(c.baud_rate));
}

Ft1Configuration Ft1ConfigDialog::fromControls() const {
  Ft1Configuration c;
  c.framing = form_->isChecked(kEsf) ? 0 : 1;
  c.encoding = form_->isChecked(kB8zs) ? 0 : 1;
  c.clock_mode = form_->isChecked(kNormal) ? 0 : 1;
  // With no button checked the unit keeps the value it reported.
  c.line_build_out = read_.line_build_out;
  for (int i = 0; i < kLineBuildOutCount; ++i)
    if (form_->isChecked(kFirstLineBuildOut + i)) {
      c.line_build_out = static_cast<uint16_t>(i);
      break;
    }
  c.channel_base = ParseField(form_->text(kChannelBase));
  c.baud_rate = ParseField(form_->text(kBaudRate));
  return c;
}

void Ft1ConfigDialog::set() {
  const card::Ft1SetResult result = card::SetFt1Configuration(exec_, fromControls());
  report(result.rc, result.reply_length);
}

void Ft1ConfigDialog::report(uint8_t rc, uint16_t reply_length) {
  ui::Prompt p{"", "Set T1 Configuration", ui::Icon::Warning};
  switch (rc) {
    case RC_OK:
      p.text = "The command was performed successfuly.";
      p.icon = ui::Icon::Information;
      break;
    case RC_FT1_BAD_BAUD_RATE: p.text = "The selected FT1 baud rate is invalid for the encoding mode"; break;
    case RC_FT1_BAD_CONFIGURATION:
      p.text = "The passed FT1 configuration data was invalid. Offset of the invalid parameter is " +
               std::to_string(reply_length);
      break;
    case RC_FT1_BAD_CHANNEL_BASE: p.text = "The defined channnel base is invalid"; break;
    case RC_FT1_TX_BUSY: p.text = kTxBusy; break;
    case RC_NO_FT1_ADAPTER: p.text = kNotConnected; break;
    // Includes the 0xAA preset: a write the unit never received must not look done.
    default: p.text = std::string(kRemoteDriver) + " (" + FormatReturnCode(rc) + ")"; break;
  }
  prompter_.show(p);
}
