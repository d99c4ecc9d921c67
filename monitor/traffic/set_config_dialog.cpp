#include "monitor/traffic/set_config_dialog.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string>
#include <type_traits>

#include "card/active_channels.h"
#include "card/line_configuration.h"

namespace {

using D = SetConfigDialog;

using card::NamedValue;

void Fill(ui::Form& f, int id, std::span<const NamedValue> items, int selection) {
  f.listClear(id);
  for (const NamedValue& item : items) f.listAdd(id, item.name);
  f.listSelect(id, selection >= 0 && selection < static_cast<int>(items.size()) ? selection : -1);
}

}  // namespace

int32_t DecimalToLong(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    v = std::min<int64_t>(v * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  if (negative) return static_cast<int32_t>(-v);
  return static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX));
}

uint16_t DecimalLow16(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  uint32_t v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    v = (v * 10 + static_cast<uint32_t>(text[i] - '0')) & 0xFFFF;
  return static_cast<uint16_t>(v);
}

void SetConfigDialog::onInit(ui::Form& form) {
  form_ = &form;
  fill();
}

void SetConfigDialog::fill() {
  ui::Form& f = *form_;
  const StreamingConfig& s = records_.streaming;
  const TECardConfig& te = records_.te;
  const int media = te.media_type;
  f.setChecked(D::kManualDtrRts, s.modem_options & 1);
  f.setChecked(D::kIgnoreModemChanges, s.modem_options & 2);
  for (int bit = 0; bit < 4; ++bit) f.setChecked(D::kStatisticsFirst + bit, s.statistics_options & (1 << bit));
  f.setText(D::kBaudRate, std::to_string(s.baud_rate));
  f.setText(D::kMaxFrameSize, std::to_string(s.max_frame_size));
  f.setText(D::kPercentTxBuffers, std::to_string(s.percent_tx_buffers));

  Fill(f, D::kMediaType, card::kMediaTypes, media);
  Fill(f, D::kInterface, card::kInterfaces, s.interface <= 1 ? s.interface : -1);
  Fill(f, D::kT1Framing, card::kT1Framings, media == kMediaT1 && te.framing >= 1 && te.framing <= 3 ? te.framing - 1 : 0);
  Fill(f, D::kE1Framing, card::kE1Framings, media == kMediaE1 ? (te.framing == 4 ? 0 : 1) : 0);
  Fill(f, D::kT1Lbo, card::kT1LineBuildOuts, media == kMediaT1 ? te.line_build_out - 1 : 0);
  Fill(f, D::kT1LineDecoding, card::kT1LineDecodings, media == kMediaT1 && te.line_decoding == 2 ? 1 : 0);
  Fill(f, D::kE1LineDecoding, card::kE1LineDecodings, media == kMediaE1 && te.line_decoding == 2 ? 1 : 0);
  Fill(f, D::kClocking, card::kClockings, card::IsTe1Media(media) ? te.clocking - 1 : 0);
  f.setText(D::kActiveChannels, card::IsTe1Media(media) ? records_.active_channels_text : "ALL");
  applyEnablingRule(media);
}

void SetConfigDialog::applyEnablingRule(int media) {
  ui::Form& f = *form_;
  const bool serial = media == kMediaSerial, t1 = media == kMediaT1, e1 = media == kMediaE1;
  f.setEnabled(D::kBaudRate, serial);
  f.setEnabled(D::kInterface, serial);
  f.setEnabled(D::kActiveChannels, t1 || e1);
  f.setEnabled(D::kClocking, t1 || e1);
  f.setEnabled(D::kT1Framing, t1);
  f.setEnabled(D::kT1LineDecoding, t1);
  f.setEnabled(D::kT1Lbo, t1);
  f.setEnabled(D::kE1Framing, e1);
  f.setEnabled(D::kE1LineDecoding, e1);
}

void SetConfigDialog::onCommand(int id, ui::Notify notify) {
  if (id == D::kMediaType && notify == ui::Notify::SelectionChanged) {
    applyEnablingRule(form_->listSelection(D::kMediaType));
  } else if (id == D::kOk && notify == ui::Notify::Clicked) {
    store();
  } else if (id == D::kCancel && notify == ui::Notify::Clicked) {
    form_->endDialog(0);
  }
}

void SetConfigDialog::store() {
  ui::Form& f = *form_;
  StreamingConfig& s = records_.streaming;
  TECardConfig& te = records_.te;
  // A list left without selection keeps the field's previous value.
  auto selected = [&f](int id, auto& field, int offset) {
    int index = f.listSelection(id);
    if (index >= 0) field = static_cast<std::remove_reference_t<decltype(field)>>(index + offset);
  };

  s.modem_options = static_cast<uint16_t>((f.isChecked(D::kManualDtrRts) ? 1 : 0) |
                                          (f.isChecked(D::kIgnoreModemChanges) ? 2 : 0));
  uint16_t stats = 0;
  for (int bit = 0; bit < 4; ++bit)
    if (f.isChecked(D::kStatisticsFirst + bit)) stats |= static_cast<uint16_t>(1 << bit);
  s.statistics_options = stats;
  selected(D::kInterface, s.interface, 0);
  s.baud_rate = static_cast<uint32_t>(DecimalToLong(f.text(D::kBaudRate).substr(0, 78)));
  s.max_frame_size = DecimalLow16(f.text(D::kMaxFrameSize));
  s.percent_tx_buffers = DecimalLow16(f.text(D::kPercentTxBuffers));
  selected(D::kMediaType, te.media_type, 0);

  const int media = te.media_type;
  if (card::IsTe1Media(media)) {
    std::string text = f.text(D::kActiveChannels).substr(0, kMaxActiveChannelsText);
    if (!ValidateChannelList(text, te.media_type)) {
      prompter_.show({"Error found in \"Active Channels\" string. The configuration was not saved.",
                      "Configuration Error", ui::Icon::Warning, ui::Buttons::Ok, ui::Owner::Form,
                      form_});
      f.endDialog(0);
      return;
    }
    records_.active_channels_text = text;
    te.active_channels = ConvertChannelList(text);
  }
  if (media == kMediaT1) {
    selected(D::kT1Framing, te.framing, 1);
    selected(D::kT1Lbo, te.line_build_out, 1);
    selected(D::kT1LineDecoding, te.line_decoding, 1);
  } else if (media == kMediaE1) {
    int index = f.listSelection(D::kE1Framing);
    if (index >= 0) te.framing = index == 0 ? 4 : 5;
    selected(D::kE1LineDecoding, te.line_decoding, 1);
  }
  if (card::IsTe1Media(media)) selected(D::kClocking, te.clocking, 1);
  f.endDialog(1);
}

bool EditConfiguration(ui::Host& host, ui::Prompter& prompter, ConfigurationRecords& records) {
  SetConfigDialog dialog(records, prompter);
  return host.runModal(SetConfigTemplate(), dialog) == 1;
}
