#include "monitor/traffic/apply_configuration.h"

#include <cstdio>

#include "card/chdlc.h"
#include "card/line_configuration.h"
#include "monitor/traffic/set_config_dialog.h"

void ApplyConfiguration::Run() {
  DeviceConnection& connection = core_.connection();
  if (!EditConfiguration(core_.host(), core_.prompter(), records_)) return;
  connection.openPollingInfo();
  connection.showStatus("Opening...");

  uint32_t error = 0;
  std::unique_ptr<DeviceHandle> handle = connection.openDevice(&error);
  if (handle == nullptr) {
    connection.showOpenError(error);
    connection.ShowDeviceInfo();
    return;
  }
  // The flow's handle stands in for the connection's while it runs.
  core_.exec().setHandle(handle.get());
  if (configureLine()) setChdlcConfiguration();
  core_.exec().setHandle(nullptr);
  handle.reset();
  connection.ShowDeviceInfo();
}

bool ApplyConfiguration::configureLine() {
  TECardConfig& te = records_.te;
  if (!card::IsTe1Media(te.media_type)) return true;
  core_.connection().showStatus(te.media_type == kMediaT1 ? "Configuring T1..." : "Configuring E1...");
  const uint8_t verdict = card::ConfigureLine(core_.exec().handle(), te);
  if (verdict == card::kTeConfigAccepted) return true;

  std::string text;
  if (verdict == card::kTeConfigCommunicationsEnabled) {
    text = "Do DISABLE_CHDLC_COMMUNICATIONS command before configuring integrated DSU/CSU";
  } else if (verdict == card::kTeConfigWrongMedia) {
    text = "You have selected invalid media type for the underlying hardware. T1 and E1 options "
           "intended only for VR44 and VR47 cards.";
  } else {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "ConfigureTECardCommand() returned : 0x%X", verdict);
    text = buffer;
  }
  core_.prompter().show({text, "Configuration Error", ui::Icon::Warning});
  return false;
}

void ApplyConfiguration::setChdlcConfiguration() {
  core_.connection().showStatus("Configuring CHDLC...");
  CommandExecutor& exec = core_.exec();
  for (;;) {
    const uint8_t rc = card::SetChdlcConfiguration(exec, records_.streaming);
    if (rc == 0) {
      unit_.Detect(exec);
      core_.connection().setConfigured();
      return;
    }
    char text[96];
    std::snprintf(text, sizeof text,
                  "Error code 0x%02X returned on SET_CHDLC_CONFIGURATION. Retry? ", rc);
    ui::Prompt question{text, "Configuration Error", ui::Icon::Warning, ui::Buttons::RetryCancel};
    if (core_.prompter().show(question) != ui::Answer::Retry) return;
  }
}
