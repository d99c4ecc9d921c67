// configure: the line parameters (T1/E1), then the CHDLC parameters, then
// which service unit the card now reports, as the Configure Device flow does.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "card/front_end.h"
#include "card/line_configuration.h"
#include "card/service_unit.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/configure_settings.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

namespace {

// The configuration dialog's messages for the driver's verdicts.
std::string LineVerdictText(uint8_t verdict) {
  switch (verdict) {
    case card::kTeConfigCommunicationsEnabled:
      return "Do DISABLE_CHDLC_COMMUNICATIONS command before configuring integrated DSU/CSU";
    case card::kTeConfigWrongMedia:
      return "You have selected invalid media type for the underlying hardware. T1 and E1 options intended only "
             "for VR44 and VR47 cards.";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "ConfigureTECardCommand() returned : 0x%X", verdict);
      return text;
    }
  }
}

}  // namespace

int RunConfigure(Session& s, const std::string& name, const std::vector<std::string>& settings) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  const card::Reply<StreamingConfig> reported = card::ReadStreamingConfig(device->exec());
  card::ServiceUnit unit = card::ProbeServiceUnit(device->exec());
  LineSetup setup = StartingSetup(reported.ok() ? std::optional(reported.value) : std::nullopt, unit.front_end_type);
  if (std::optional<std::string> error = ApplySettings(settings, setup)) return s.usage(*error);

  if (card::IsTe1Media(setup.line.media_type)) {
    const uint8_t verdict = card::ConfigureLine(device->handle(), setup.line);
    if (verdict != card::kTeConfigAccepted) return s.refused(LineVerdictText(verdict));
  }
  const uint8_t rc = card::SetChdlcConfiguration(device->exec(), setup.chdlc);
  if (rc != RC_OK) return s.refused(SET_CHDLC_CONFIGURATION, rc);
  unit.Detect(device->exec());

  if (s.json) {
    s.out << nlohmann::json{{"device", device->name()},
                            {"chdlc", ToJson(setup.chdlc)},
                            {"line", ToJson(setup.line)},
                            {"service_unit", ToJson(unit)}}
                 .dump(2)
          << '\n';
    return kExitOk;
  }
  Field(s.out, "Configured", device->name());
  Field(s.out, "Media", card::NameOf(card::kMediaTypes, setup.line.media_type));
  if (card::IsTe1Media(setup.line.media_type)) Field(s.out, "Active channels", Hex(setup.line.active_channels, 8));
  Field(s.out, "Front end", card::FrontEndName(unit.front_end_type));
  Flag(s.out, "FT1 unit", unit.ft1_present);
  return kExitOk;
}

}  // namespace talvctl
