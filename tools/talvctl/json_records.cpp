#include "tools/talvctl/json_records.h"

#include <charconv>

#include "card/device_list.h"
#include "card/front_end.h"
#include "card/line_configuration.h"
#include "tools/talvctl/record_names.h"

namespace talvctl {

using nlohmann::json;

json ToJson(const HardwareInfo& info) {
  return {{"card_type", info.card_type},     {"card_type_name", card::CardTypeName(info.card_type)},
          {"bus_number", info.bus_number},   {"slot_number", info.slot_number},
          {"cpu", info.cpu},                 {"comm_port", info.comm_port},
          {"memory_base", info.memory_base}, {"irq", info.irq},
          {"io_port", info.io_port}};
}

json ToJson(const card::ServiceUnit& unit) {
  return {{"front_end_type", unit.front_end_type},
          {"front_end", card::FrontEndName(unit.front_end_type)},
          {"ft1_present", unit.ft1_present}};
}

json ToJson(const card::LinkStatus& link) {
  return {{"channel_status", link.channel_status},
          {"active", link.active()},
          {"frames_queued", link.frames_queued},
          {"receiver_status", link.receiver_status},
          {"receiver_enabled", link.receiverEnabled()}};
}

json ToJson(const card::ModemStatus& modem) {
  return {{"bits", modem.bits}, {"dcd", modem.dcd()}, {"cts", modem.cts()}};
}

json ToJson(const card::OperationalStatistics& s) {
  return {{"frames_transmitted", s.frames_transmitted},
          {"bytes_transmitted", s.bytes_transmitted},
          {"transmit_throughput", s.transmit_throughput},
          {"transmit_throughput_ms", s.transmit_throughput_ms},
          {"tx_discarded_length", s.tx_discarded_length},
          {"frames_received", s.frames_received},
          {"bytes_received", s.bytes_received},
          {"receive_throughput", s.receive_throughput},
          {"receive_throughput_ms", s.receive_throughput_ms},
          {"rx_discarded_length", s.rx_discarded_length}};
}

json ToJson(const card::CommErrorStatistics& s) {
  return {{"receiver_overrun", s.receiver_overrun},
          {"receiver_crc", s.receiver_crc},
          {"abort_frames", s.abort_frames},
          {"receiver_disabled_buffers_full", s.receiver_disabled_buffers_full},
          {"missed_tx_underrun_interrupts", s.missed_tx_underrun_interrupts},
          {"dcd_dropped", s.dcd_dropped},
          {"cts_dropped", s.cts_dropped}};
}

json ToJson(const StreamingConfig& c) {
  json options = json::object();
  for (const OptionBit& bit : kModemOptionBits) options[std::string(bit.key)] = (c.modem_options & bit.mask) != 0;
  json statistics = json::object();
  for (const OptionBit& bit : kStatisticsOptionBits)
    statistics[std::string(bit.key)] = (c.statistics_options & bit.mask) != 0;
  return {{"baud_rate", c.baud_rate},
          {"interface", c.interface},
          {"interface_name", card::NameOf(card::kInterfaces, static_cast<uint8_t>(c.interface))},
          {"modem_options", c.modem_options},
          {"modem", options},
          {"percent_tx_buffers", c.percent_tx_buffers},
          {"statistics_options", c.statistics_options},
          {"statistics", statistics},
          {"max_frame_size", c.max_frame_size}};
}

json ToJson(const TECardConfig& te) {
  json line = {{"media_type", te.media_type}, {"media", card::NameOf(card::kMediaTypes, te.media_type)}};
  if (!card::IsTe1Media(te.media_type)) return line;
  const bool t1 = te.media_type == kMediaT1;
  line["framing"] = te.framing;
  line["framing_name"] = t1 ? card::NameOf(card::kT1Framings, te.framing) : card::NameOf(card::kE1Framings, te.framing);
  line["line_decoding"] = te.line_decoding;
  line["line_decoding_name"] = t1 ? card::NameOf(card::kT1LineDecodings, te.line_decoding)
                                  : card::NameOf(card::kE1LineDecodings, te.line_decoding);
  if (t1) {
    line["line_build_out"] = te.line_build_out;
    line["line_build_out_name"] = card::NameOf(card::kT1LineBuildOuts, te.line_build_out);
  }
  line["clocking"] = te.clocking;
  line["clocking_name"] = card::NameOf(card::kClockings, te.clocking);
  line["active_channels"] = te.active_channels;
  return line;
}

json ToJson(const Ft1Configuration& c) {
  return {{"framing", c.framing},         {"encoding", c.encoding},   {"line_build_out", c.line_build_out},
          {"channel_base", c.channel_base}, {"baud_rate", c.baud_rate}, {"clock_mode", c.clock_mode}};
}

json ToJson(const card::Te1Alarms& alarms, uint8_t front_end_type) {
  json raised = json::object();
  for (const AlarmBit& bit : Te1AlarmBits(front_end_type)) raised[std::string(bit.key)] = alarms.raised(bit.mask);
  json counters = json::object();
  const auto names = Te1CounterNames(front_end_type);
  for (size_t i = 0; i < names.size(); ++i) counters[std::string(names[i])] = alarms.counters[i];
  return {{"alarm_bits", alarms.alarms}, {"alarms", raised}, {"counters", counters}};
}

namespace {

// The level's figures as numbers; null where the level tells nothing.
json Figure(const char* text) {
  const std::string_view figure(text);
  double value = 0;
  if (std::from_chars(figure.data(), figure.data() + figure.size(), value).ec != std::errc()) return nullptr;
  return value;
}

}  // namespace

json ToJson(const card::Status56K& status) {
  json raised = json::object();
  for (const AlarmBit& bit : k56KStatusBits) raised[std::string(bit.key)] = status.raised(bit.mask);
  const card::ReceiveLevel level = status.receiveLevel();
  return {{"status_bits", status.status},
          {"alarms", raised},
          {"receive_level", status.receiveLevelIndex()},
          {"signal_good", status.signalGood()},
          {"insertion_loss_db", Figure(level.insertion_loss_db)},
          {"line_length_km", Figure(level.line_length_km)}};
}

}  // namespace talvctl
