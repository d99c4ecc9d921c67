#include "tools/talvctl/configure_settings.h"

#include <functional>
#include <string_view>
#include <vector>

#include "card/active_channels.h"
#include "card/line_configuration.h"
#include "driver_if/mailbox.h"
#include "tools/talvctl/record_names.h"
#include "tools/talvctl/value_parsing.h"

namespace talvctl {

namespace {

using Error = std::optional<std::string>;

inline constexpr card::NamedValue kMediaAliases[] = {{"serial", kMediaSerial}};

Error BadValue(std::string_view key, std::string_view value, std::string_view expected) {
  return std::string(key) + ": \"" + std::string(value) + "\" is not " + std::string(expected);
}

Error SetNumber(std::string_view key, std::string_view value, uint32_t max, const std::function<void(uint32_t)>& set) {
  const std::optional<uint32_t> n = ParseDecimal(value, max);
  if (!n) return BadValue(key, value, "a number from 0 to " + std::to_string(max));
  set(*n);
  return std::nullopt;
}

Error SetNamed(std::string_view key, std::string_view value, std::span<const card::NamedValue> table, uint8_t& field) {
  const std::optional<uint8_t> v = ParseNamed(table, value);
  if (!v) return BadValue(key, value, "one of " + NamesOf(table));
  field = *v;
  return std::nullopt;
}

Error SetBit(std::string_view key, std::string_view value, uint16_t mask, uint16_t& word) {
  const std::optional<bool> on = ParseOnOff(value);
  if (!on) return BadValue(key, value, "on or off");
  word = static_cast<uint16_t>(*on ? (word | mask) : (word & ~mask));
  return std::nullopt;
}

// Dashes in keys, as on the command line; the JSON names use underscores.
std::string KeyOf(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c == '_') c = '-';
  return key;
}

struct Setting {
  std::string key;
  std::string value;
};

bool IsSerial(const LineSetup& s) { return s.line.media_type == kMediaSerial; }
bool IsT1(const LineSetup& s) { return s.line.media_type == kMediaT1; }
bool IsE1(const LineSetup& s) { return s.line.media_type == kMediaE1; }

// The dialog offers a field only for the media it belongs to.
Error OnlyFor(std::string_view key, std::string_view media) {
  return std::string(key) + " applies to " + std::string(media) + " only";
}

Error ApplyOne(const Setting& s, LineSetup& setup) {
  StreamingConfig& c = setup.chdlc;
  TECardConfig& te = setup.line;
  const std::string& k = s.key;
  const std::string& v = s.value;
  if (k == "baud") {
    if (!IsSerial(setup)) return OnlyFor(k, "Serial/FT1");
    return SetNumber(k, v, UINT32_MAX, [&](uint32_t n) { c.baud_rate = n; });
  }
  if (k == "interface") {
    if (!IsSerial(setup)) return OnlyFor(k, "Serial/FT1");
    uint8_t value = 0;
    if (Error e = SetNamed(k, v, card::kInterfaces, value)) return e;
    c.interface = value;
    return std::nullopt;
  }
  if (k == "max-frame") return SetNumber(k, v, UINT16_MAX, [&](uint32_t n) { c.max_frame_size = static_cast<uint16_t>(n); });
  if (k == "tx-buffers") return SetNumber(k, v, 100, [&](uint32_t n) { c.percent_tx_buffers = static_cast<uint16_t>(n); });
  for (const OptionBit& bit : kModemOptionBits)
    if (k == KeyOf(bit.key)) return SetBit(k, v, bit.mask, c.modem_options);
  for (const OptionBit& bit : kStatisticsOptionBits)
    if (k == KeyOf(bit.key)) return SetBit(k, v, bit.mask, c.statistics_options);

  if (k == "framing") {
    if (IsT1(setup)) return SetNamed(k, v, card::kT1Framings, te.framing);
    if (IsE1(setup)) return SetNamed(k, v, card::kE1Framings, te.framing);
    return OnlyFor(k, "T1 and E1");
  }
  if (k == "coding") {
    if (IsT1(setup)) return SetNamed(k, v, card::kT1LineDecodings, te.line_decoding);
    if (IsE1(setup)) return SetNamed(k, v, card::kE1LineDecodings, te.line_decoding);
    return OnlyFor(k, "T1 and E1");
  }
  if (k == "lbo") {
    if (!IsT1(setup)) return OnlyFor(k, "T1");
    return SetNamed(k, v, card::kT1LineBuildOuts, te.line_build_out);
  }
  if (k == "clocking") {
    if (!card::IsTe1Media(te.media_type)) return OnlyFor(k, "T1 and E1");
    return SetNamed(k, v, card::kClockings, te.clocking);
  }
  if (k == "channels") {
    if (!card::IsTe1Media(te.media_type)) return OnlyFor(k, "T1 and E1");
    if (!ValidateChannelList(v, te.media_type))
      return "channels: \"" + v + "\": Error found in \"Active Channels\" string. The configuration was not saved.";
    setup.channels = v;
    return std::nullopt;
  }
  return "unknown key \"" + k +
         "\" (keys: media, baud, interface, max-frame, tx-buffers, manual-dtr-rts, ignore-modem-changes, "
         "count-tx, count-rx, tx-throughput, rx-throughput, framing, coding, lbo, clocking, channels)";
}

// What a change of medium brings along: the line fields the new medium
// gets at first, as the dialog's lists show them.
void SetMedia(LineSetup& setup, uint8_t media) {
  if (setup.line.media_type == media) return;
  setup.line = TECardConfig{};
  setup.line.media_type = media;
  if (media == kMediaE1) setup.line.framing = 4;  // CRC4
  setup.channels = "ALL";
}

}  // namespace

LineSetup StartingSetup(const std::optional<StreamingConfig>& reported, uint8_t front_end_type) {
  LineSetup setup;
  if (reported) setup.chdlc = *reported;
  const uint8_t media = front_end_type == kFrontEndT1    ? kMediaT1
                        : front_end_type == kFrontEndE1  ? kMediaE1
                        : front_end_type == kFrontEnd56K ? kMedia56K
                                                         : kMediaSerial;
  setup.line.media_type = kMediaSerial;
  SetMedia(setup, media);
  return setup;
}

std::optional<std::string> ApplySettings(std::span<const std::string> settings, LineSetup& setup) {
  std::vector<Setting> parsed;
  for (const std::string& text : settings) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return "\"" + text + "\" is not key=value";
    parsed.push_back({KeyOf(text.substr(0, eq)), text.substr(eq + 1)});
  }
  // The medium decides which other keys apply, wherever it stands.
  for (const Setting& s : parsed) {
    if (s.key != "media") continue;
    std::optional<uint8_t> media = ParseNamed(card::kMediaTypes, s.value);
    if (!media) media = ParseNamed(kMediaAliases, s.value);
    if (!media) return BadValue("media", s.value, "one of serial, " + NamesOf(card::kMediaTypes));
    SetMedia(setup, *media);
  }
  for (const Setting& s : parsed)
    if (s.key != "media")
      if (Error e = ApplyOne(s, setup)) return e;
  if (card::IsTe1Media(setup.line.media_type)) setup.line.active_channels = ConvertChannelList(setup.channels);
  return std::nullopt;
}

}  // namespace talvctl
