#include "exporter/device_metrics.h"

#include <charconv>
#include <cstring>

#include "card/device_list.h"
#include "card/front_end.h"
#include "card/ft1_lights.h"
#include "card/service_unit.h"

namespace exporter {

namespace {

constexpr unsigned k16 = 16;
constexpr unsigned k32 = 32;

// The metrics of one device, each series labelled with its name.
class DeviceSamples {
 public:
  DeviceSamples(const std::string& device, DeviceState& state, MetricSet& metrics)
      : device_(device), state_(state), metrics_(metrics) {}

  void gauge(const std::string& name, const char* help, double value, Labels extra = {}) {
    metrics_.gauge(name, help, labels(std::move(extra)), value);
  }
  void flag(const std::string& name, const char* help, bool on, Labels extra = {}) {
    gauge(name, help, on ? 1 : 0, std::move(extra));
  }
  void counter(const std::string& name, const char* help, uint32_t raw, unsigned bits, Labels extra = {}) {
    std::string key = name;
    for (const auto& [k, v] : extra) key += "," + k + "=" + v;
    const uint64_t value = state_.count(key, raw, bits);
    metrics_.counter(name, help, labels(std::move(extra)), static_cast<double>(value));
  }

 private:
  Labels labels(Labels extra) const {
    extra.insert(extra.begin(), {"device", device_});
    return extra;
  }

  const std::string& device_;
  DeviceState& state_;
  MetricSet& metrics_;
};

void AppendLink(const DeviceReading& r, DeviceSamples& s) {
  s.gauge("talvlink_info", "The card, its firmware code version and its integrated service unit.", 1,
          {{"card", std::string(card::CardTypeName(r.hardware.card_type))},
           {"code_version", r.code_version},
           {"service_unit", std::string(card::ServiceUnitName(r.unit))}});
  s.flag("talvlink_link_up", "1 while the card reports its channel active.", r.link.active());
  s.flag("talvlink_communications_enabled", "1 while the card's receiver is enabled.", r.link.receiverEnabled());
  s.gauge("talvlink_receive_queue_frames", "Frames queued on the card for reception.", r.link.frames_queued);
}

void AppendOperational(const card::OperationalStatistics& o, DeviceSamples& s) {
  s.counter("talvlink_frames_transmitted_total", "Frames transmitted.", o.frames_transmitted, k32);
  s.counter("talvlink_transmitted_bytes_total", "Bytes transmitted.", o.bytes_transmitted, k32);
  s.gauge("talvlink_transmit_throughput", "Transmit throughput as the card last measured it.",
          o.transmit_throughput);
  s.gauge("talvlink_transmit_throughput_window_seconds", "Time the last transmit throughput was measured over.",
          o.transmit_throughput_ms / 1000.0);
  s.counter("talvlink_transmit_frames_discarded_total", "Frames to transmit discarded for a length error.",
            o.tx_discarded_length, k32);
  s.counter("talvlink_frames_received_total", "Frames received.", o.frames_received, k32);
  s.counter("talvlink_received_bytes_total", "Bytes received.", o.bytes_received, k32);
  s.gauge("talvlink_receive_throughput", "Receive throughput as the card last measured it.", o.receive_throughput);
  s.gauge("talvlink_receive_throughput_window_seconds", "Time the last receive throughput was measured over.",
          o.receive_throughput_ms / 1000.0);
  s.counter("talvlink_receive_frames_discarded_total", "Received frames discarded for excessive length.",
            o.rx_discarded_length, k32);
}

void AppendCommErrors(const card::CommErrorStatistics& e, DeviceSamples& s) {
  constexpr char kHelp[] = "Receive errors by kind.";
  s.counter("talvlink_receive_errors_total", kHelp, e.receiver_overrun, k16, {{"kind", "overrun"}});
  s.counter("talvlink_receive_errors_total", kHelp, e.receiver_crc, k16, {{"kind", "crc"}});
  s.counter("talvlink_receive_errors_total", kHelp, e.abort_frames, k16, {{"kind", "abort"}});
  s.counter("talvlink_receive_errors_total", kHelp, e.receiver_disabled_buffers_full, k16,
            {{"kind", "buffers_full"}});
  s.counter("talvlink_transmit_underruns_missed_total", "Transmit underrun interrupts missed.",
            e.missed_tx_underrun_interrupts, k16);
  constexpr char kDrops[] = "Times a modem signal dropped unexpectedly.";
  s.counter("talvlink_modem_signal_drops_total", kDrops, e.dcd_dropped, k16, {{"signal", "dcd"}});
  s.counter("talvlink_modem_signal_drops_total", kDrops, e.cts_dropped, k16, {{"signal", "cts"}});
}

void AppendTe1(const DeviceReading& r, DeviceSamples& s) {
  const bool t1 = r.unit.front_end_type == kFrontEndT1;
  if (r.te1) {
    const card::Te1Alarms& a = *r.te1;
    constexpr char kHelp[] = "1 while the T1/E1 line alarm is raised.";
    s.flag("talvlink_te1_alarm", kHelp, a.raised(card::Te1Alarms::kOof), {{"alarm", "oof"}});
    s.flag("talvlink_te1_alarm", kHelp, a.raised(card::Te1Alarms::kRed), {{"alarm", "red"}});
    s.flag("talvlink_te1_alarm", kHelp, a.raised(card::Te1Alarms::kAis), {{"alarm", "ais"}});
    if (t1) s.flag("talvlink_te1_alarm", kHelp, a.raised(card::Te1Alarms::kYel), {{"alarm", "yel"}});
    const char* kinds[] = {"framing_bit", t1 ? "oof" : "far_end_block", t1 ? "bit" : "crc", "line_code_violation"};
    for (size_t i = 0; i < a.counters.size(); ++i)
      s.counter("talvlink_te1_errors_total", "T1/E1 line errors by kind.", a.counters[i], k32,
                {{"kind", kinds[i]}});
  }
  if (r.loopbacks) {
    for (card::Loopback mode : card::kLoopbacks)
      s.flag("talvlink_te1_loopback", "1 while the loop-back test mode is active.", r.loopbacks->active(mode),
             {{"mode", std::string(card::LoopbackName(mode))}});
  }
}

std::optional<double> Number(const char* text) {
  double value = 0;
  const char* end = text + std::strlen(text);
  const auto [at, ec] = std::from_chars(text, end, value);
  if (ec != std::errc() || at != end) return std::nullopt;
  return value;
}

void Append56K(const card::Status56K& st, DeviceSamples& s) {
  struct Alarm {
    uint16_t bit;
    const char* name;
  };
  constexpr Alarm kAlarms[] = {{card::Status56K::kRlos, "rlos"}, {card::Status56K::kDmi, "dmi"},
                               {card::Status56K::kZsc, "zsc"},   {card::Status56K::kCmi, "cmi"},
                               {card::Status56K::kOos, "oos"},   {card::Status56K::kOof, "oof"},
                               {card::Status56K::kDlp, "dlp"},   {card::Status56K::kUmc, "umc"}};
  for (const Alarm& a : kAlarms)
    s.flag("talvlink_56k_alarm", "1 while the 56K unit's alarm is raised.", st.raised(a.bit), {{"alarm", a.name}});
  s.flag("talvlink_56k_signal_good", "1 while the 56K unit's receive level is good.", st.signalGood());
  // Weak levels tell nothing about the line; those series are left out.
  const card::ReceiveLevel level = st.receiveLevel();
  if (auto loss = Number(level.insertion_loss_db))
    s.gauge("talvlink_56k_insertion_loss_db", "Insertion loss from the 56K unit's receive level.", *loss);
  if (auto length = Number(level.line_length_km))
    s.gauge("talvlink_56k_line_length_km", "Line length estimated from the 56K unit's receive level.", *length);
}

void AppendFt1(const DeviceReading& r, DeviceState& state, DeviceSamples& s) {
  if (r.ft1_status) {
    const card::Ft1LampColours colours = card::DecodeFt1Lamps(*r.ft1_status);
    for (card::Ft1Lamp lamp : card::kFt1Lamps) {
      const card::Ft1Colour shown = colours[static_cast<size_t>(lamp)];
      for (card::Ft1Colour colour : {card::Ft1Colour::kOff, card::Ft1Colour::kGreen, card::Ft1Colour::kRed})
        s.flag("talvlink_ft1_light", "1 for the colour the FT1 unit's light shows.", shown == colour,
               {{"light", std::string(card::Ft1LampName(lamp))},
                {"colour", std::string(card::Ft1ColourName(colour))}});
    }
    struct Test {
      card::Ft1Lamp lamp;
      const char* name;
    };
    constexpr Test kTests[] = {{card::Ft1Lamp::kSt, "self_test"},
                               {card::Ft1Lamp::kDl, "digital_loop"},
                               {card::Ft1Lamp::kLl, "line_loop"},
                               {card::Ft1Lamp::kRt, "remote_test"}};
    for (const Test& t : kTests)
      s.flag("talvlink_ft1_test_active", "1 while the FT1 unit's test light is lit.",
             colours[static_cast<size_t>(t.lamp)] != card::Ft1Colour::kOff, {{"test", t.name}});
  }
  s.flag("talvlink_ft1_statistics_reporting", "1 while another program has the FT1 unit's statistics reporting on.",
         r.ft1_statistics_on);
  if (!r.ft1_statistics_on) {
    state.ft1_statistics.reset();
    return;
  }
  if (r.ft1_statistics) state.ft1_statistics = r.ft1_statistics;
  if (!state.ft1_statistics) return;
  const card::Ft1StatisticsLine& line = *state.ft1_statistics;
  s.gauge("talvlink_ft1_statistics_elapsed_seconds", "Time covered by the FT1 unit's last statistics report.",
          line.minutes * 60.0 + line.seconds);
  for (size_t i = 0; i < line.counts.size(); ++i)
    s.gauge("talvlink_ft1_statistic", "A column of the FT1 unit's last statistics report.", line.counts[i],
            {{"column", std::string(card::Ft1StatisticsLine::kColumns[i])}});
}

}  // namespace

uint64_t DeviceState::count(const std::string& key, uint32_t raw, unsigned bits) {
  return counters_.try_emplace(key, bits).first->second.update(raw);
}

void AppendDeviceMetrics(const std::string& device, const DeviceReading& r, DeviceState& state, MetricSet& metrics) {
  DeviceSamples s(device, state, metrics);
  AppendLink(r, s);
  if (r.operational) AppendOperational(*r.operational, s);
  if (r.comm_errors) AppendCommErrors(*r.comm_errors, s);
  if (r.global)
    s.counter("talvlink_irq_timeouts_total", "Application interrupt request time-outs.", r.global->irq_timeouts, k16);
  if (r.modem) {
    constexpr char kHelp[] = "1 while the modem signal is high.";
    s.flag("talvlink_modem_signal", kHelp, r.modem->dcd(), {{"signal", "dcd"}});
    s.flag("talvlink_modem_signal", kHelp, r.modem->cts(), {{"signal", "cts"}});
  }
  if (r.unit.te1()) AppendTe1(r, s);
  if (r.status_56k) Append56K(*r.status_56k, s);
  if (r.unit.ft1_present) AppendFt1(r, state, s);
}

}  // namespace exporter
