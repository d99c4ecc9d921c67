// ft1 status|stats|config: an FT1 unit on a plain serial card.

#include <nlohmann/json.hpp>

#include "card/ft1.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/interruption.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/value_parsing.h"

namespace talvctl {

namespace {

using namespace std::chrono_literals;

// The unit sends a statistics line only every few reads; the statistics
// window reads every 100 ms, and a line comes within seconds.
constexpr auto kStatisticsReadInterval = 100ms;
constexpr int kStatisticsReads = 50;

inline constexpr card::NamedValue kFt1Framings[] = {{"ESF", 0}, {"D4", 1}};
inline constexpr card::NamedValue kFt1Encodings[] = {{"B8ZS", 0}, {"AMI", 1}};
inline constexpr card::NamedValue kFt1ClockModes[] = {{"Normal", 0}, {"Master", 1}};
inline constexpr card::NamedValue kFt1LineBuildOuts[] = {
    {"CSU_0dB_DSX1_TO_133", 0}, {"DSX1_133_TO_266", 1}, {"DSX1_266_TO_399", 2}, {"DSX1_399_TO_533", 3},
    {"DSX1_533_TO_655", 4},     {"CSU_NEG_7dB", 5},     {"CSU_NEG_15dB", 6},    {"CSU_NEG_22dB", 7}};

// The FT1 configuration dialog's texts for the unit's verdicts on a write.
std::string SetVerdictText(const card::Ft1SetResult& r) {
  switch (r.rc) {
    case RC_FT1_BAD_BAUD_RATE: return "The selected FT1 baud rate is invalid for the encoding mode";
    case RC_FT1_BAD_CONFIGURATION:
      return "The passed FT1 configuration data was invalid. Offset of the invalid parameter is " +
             std::to_string(r.reply_length);
    case RC_FT1_BAD_CHANNEL_BASE: return "The defined channnel base is invalid";
    case RC_FT1_TX_BUSY: return "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command";
    default: return RefusalText(SET_FT1_CONFIGURATION, r.rc);
  }
}

std::optional<std::string> ApplyFt1Setting(const std::string& setting, Ft1Configuration& c) {
  const size_t eq = setting.find('=');
  if (eq == std::string::npos) return "\"" + setting + "\" is not key=value";
  const std::string key = setting.substr(0, eq), value = setting.substr(eq + 1);
  auto named = [&](std::span<const card::NamedValue> table, uint16_t& field) -> std::optional<std::string> {
    const std::optional<uint8_t> v = ParseNamed(table, value);
    if (!v) return key + ": \"" + value + "\" is not one of " + NamesOf(table);
    field = *v;
    return std::nullopt;
  };
  auto number = [&](uint16_t& field) -> std::optional<std::string> {
    const std::optional<uint32_t> v = ParseDecimal(value, UINT16_MAX);
    if (!v) return key + ": \"" + value + "\" is not a number from 0 to 65535";
    field = static_cast<uint16_t>(*v);
    return std::nullopt;
  };
  if (key == "framing") return named(kFt1Framings, c.framing);
  if (key == "encoding") return named(kFt1Encodings, c.encoding);
  if (key == "clock") return named(kFt1ClockModes, c.clock_mode);
  if (key == "lbo") return named(kFt1LineBuildOuts, c.line_build_out);
  if (key == "channel-base") return number(c.channel_base);
  if (key == "baud") return number(c.baud_rate);
  return "unknown key \"" + key + "\" (keys: framing, encoding, lbo, clock, channel-base, baud)";
}

std::string NameOrNumber(std::span<const card::NamedValue> table, uint16_t value) {
  const std::string_view name = value <= 0xFF ? card::NameOf(table, static_cast<uint8_t>(value)) : "";
  return name.empty() ? std::to_string(value) : std::string(name);
}

int Status(Session& s, card::Device& device) {
  const card::Reply<card::Ft1Status> st = card::ReadFt1Status(device.exec());
  if (!st.ok()) return s.refused(READ_FT1_STATUS, st.rc);
  if (s.json) {
    s.out << nlohmann::json{{"device", device.name()}, {"a", st.value.a}, {"b", st.value.b}}.dump(2) << '\n';
    return kExitOk;
  }
  Field(s.out, "Status A", Hex(st.value.a, 2));
  Field(s.out, "Status B", Hex(st.value.b, 2));
  return kExitOk;
}

int Statistics(Session& s, card::Device& device) {
  uint8_t rc = card::SendFt1MonitorFlags(device.exec(), FT1_STATISTICS_MONITOR);
  if (rc != RC_OK) return s.refused(SET_FT1_MONITOR_FLAGS, rc);
  card::Reply<std::string> line;
  for (int read = 0; read < kStatisticsReads; ++read) {
    line = card::ReadFt1Statistics(device.exec());
    if (!line.ok() || !line.value.empty() || !SleepUnlessInterrupted(kStatisticsReadInterval)) break;
  }
  // The unit's channel serves the statistics only while the flag is on.
  const uint8_t off_rc = card::SendFt1MonitorFlags(device.exec(), 0);
  if (!line.ok()) return s.refused(READ_FT1_OPERATIONAL_STATS, line.rc);
  if (off_rc != RC_OK) return s.refused(SET_FT1_MONITOR_FLAGS, off_rc);
  // The unit ends and starts its lines with CR LF of its own.
  const size_t first = line.value.find_first_not_of("\r\n");
  const size_t last = line.value.find_last_not_of("\r\n");
  if (first == std::string::npos) return s.refused("the FT1 unit sent no statistics line");
  line.value = line.value.substr(first, last - first + 1);
  if (s.json) s.out << nlohmann::json{{"device", device.name()}, {"line", line.value}}.dump(2) << '\n';
  else s.out << line.value << '\n';
  return kExitOk;
}

int Configuration(Session& s, card::Device& device, const std::vector<std::string>& settings) {
  const card::Reply<Ft1Configuration> read = card::ReadFt1Configuration(device.exec());
  if (!read.ok()) return s.refused(READ_FT1_CONFIGURATION, read.rc);
  Ft1Configuration c = read.value;
  for (const std::string& setting : settings)
    if (std::optional<std::string> error = ApplyFt1Setting(setting, c)) return s.usage(*error);
  if (!settings.empty()) {
    const card::Ft1SetResult set = card::SetFt1Configuration(device.exec(), c);
    if (set.rc != RC_OK) return s.refused(SetVerdictText(set));
  }
  if (s.json) {
    s.out << nlohmann::json{{"device", device.name()}, {"configuration", ToJson(c)}}.dump(2) << '\n';
    return kExitOk;
  }
  Field(s.out, "Framing", NameOrNumber(kFt1Framings, c.framing));
  Field(s.out, "Encoding", NameOrNumber(kFt1Encodings, c.encoding));
  Field(s.out, "Line build-out", NameOrNumber(kFt1LineBuildOuts, c.line_build_out));
  Field(s.out, "Clock", NameOrNumber(kFt1ClockModes, c.clock_mode));
  Field(s.out, "Channel base", c.channel_base);
  Field(s.out, "Baud", c.baud_rate);
  return kExitOk;
}

}  // namespace

int RunFt1(Session& s, const std::string& name, const std::string& what, const std::vector<std::string>& settings) {
  if (what != "config" && !settings.empty()) return s.usage("only ft1 config takes key=value settings");
  if (what != "status" && what != "stats" && what != "config")
    return s.usage("\"" + what + "\" is not status, stats or config");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  if (what == "status") return Status(s, *device);
  if (what == "stats") return Statistics(s, *device);
  return Configuration(s, *device, settings);
}

}  // namespace talvctl
