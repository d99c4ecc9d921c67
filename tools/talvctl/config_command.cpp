// config: the CHDLC configuration the card reports, and its service unit.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "card/front_end.h"
#include "card/line_configuration.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/record_names.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

int RunConfig(Session& s, const std::string& name) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  const card::Reply<StreamingConfig> config = card::ReadStreamingConfig(device->exec());
  if (!config.ok()) return s.refused(READ_CHDLC_CONFIGURATION, config.rc);
  const card::ServiceUnit unit = card::ProbeServiceUnit(device->exec());

  if (s.json) {
    s.out << nlohmann::json{{"device", device->name()},
                            {"chdlc", ToJson(config.value)},
                            {"service_unit", ToJson(unit)}}
                 .dump(2)
          << '\n';
    return kExitOk;
  }
  const StreamingConfig& c = config.value;
  Field(s.out, "Baud rate", c.baud_rate);
  const std::string_view interface = card::NameOf(card::kInterfaces, static_cast<uint8_t>(c.interface));
  Field(s.out, "Interface", interface.empty() ? std::to_string(c.interface) : std::string(interface));
  for (const OptionBit& bit : kModemOptionBits) Flag(s.out, LabelOf(bit.key), (c.modem_options & bit.mask) != 0);
  Field(s.out, "Percent tx buffers", c.percent_tx_buffers);
  for (const OptionBit& bit : kStatisticsOptionBits) Flag(s.out, LabelOf(bit.key), (c.statistics_options & bit.mask) != 0);
  Field(s.out, "Max frame size", c.max_frame_size);
  Field(s.out, "Front end", card::FrontEndName(unit.front_end_type));
  Flag(s.out, "FT1 unit", unit.ft1_present);
  return kExitOk;
}

}  // namespace talvctl
