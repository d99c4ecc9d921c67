#include "monitor/traffic/apply_configuration.h"

#include <cstdio>

#include "driver_if/mailbox.h"
#include "driver_if/requests.h"
#include "monitor/traffic/set_config_dialog.h"

namespace {

// Never 0, 2 or 3: a request the driver did not complete must not read as a verdict.
constexpr uint8_t kNoVerdict = 0xFF;

}  // namespace

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
  if (te.media_type != kMediaT1 && te.media_type != kMediaE1) return true;
  core_.connection().showStatus(te.media_type == kMediaT1 ? "Configuring T1..." : "Configuring E1...");
  te.result = kNoVerdict;
  ConfigureTECardCommand(core_.exec().handle(), te);
  if (te.result == 0) return true;

  std::string text;
  if (te.result == 2) {
    text = "Do DISABLE_CHDLC_COMMUNICATIONS command before configuring integrated DSU/CSU";
  } else if (te.result == 3) {
    text = "You have selected invalid media type for the underlying hardware. T1 and E1 options "
           "intended only for VR44 and VR47 cards.";
  } else {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "ConfigureTECardCommand() returned : 0x%X", te.result);
    text = buffer;
  }
  core_.prompter().show({text, "Configuration Error", ui::Icon::Warning});
  return false;
}

void ApplyConfiguration::setChdlcConfiguration() {
  core_.connection().showStatus("Configuring CHDLC...");
  CommandExecutor& exec = core_.exec();
  for (;;) {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    records_.streaming.Write(image);
    exec.block().prepare(SET_CHDLC_CONFIGURATION, image);
    uint8_t rc = exec.ExecuteCommand();
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
