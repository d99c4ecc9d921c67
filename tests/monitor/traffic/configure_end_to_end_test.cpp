// A configuration set by one talvmon is what the card keeps: another talvmon
// reads it back, and the simulator reports it, over the socket backend.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/traffic/set_config_dialog.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace {

using D = SetConfigDialog;

// One talvmon run: its own driver connection, host and settings file.
struct Talvmon {
  explicit Talvmon(const std::string& dir)
      : driver(dir), ini(dir + "/talvmon.ini"), settings((WriteIni(ini), ini)) {
    app = std::make_unique<MonitorApp>(CoreServices{host, prompter, driver, settings});
  }
  static void WriteIni(const std::string& path) {
    std::ofstream(path) << "[Polling]\nuse_system_timer=0\n[Hardware]\ndefault_device=TALVSTRM1\n";
  }
  SocketCardDriver driver;
  std::string ini;
  ProfileFile settings;
  fake::FakeHost host;
  fake::FakePrompter prompter;
  std::unique_ptr<MonitorApp> app;
};

TEST(ConfigureEndToEndTest, T1SettingsOutliveTheProgramThatSetThem) {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path());
  ASSERT_TRUE(daemon.serving());
  {
    Talvmon first(dir.path());
    ASSERT_TRUE(first.app->Start());
    first.host.onModal("SETCONFIG", [](fake::FakeForm& f) {
      f.select(D::kMediaType, 1);
      f.type(D::kActiveChannels, "1-24");
      f.type(D::kMaxFrameSize, "1500");
      f.click(D::kOk);
    });
    first.host.command(kMenuOpenDevice);
    ASSERT_TRUE(first.app->core().connection().connected());
    EXPECT_EQ(first.prompter.count(), 0u);
    first.host.command(kMenuCloseDevice);
    first.app->Exit(0);
  }

  Talvmon fresh(dir.path());
  ASSERT_TRUE(fresh.app->Start());
  fresh.host.onModal("SETCONFIG", [](fake::FakeForm& f) { f.click(D::kCancel); });
  fresh.host.command(kMenuOpenDevice);
  ASSERT_TRUE(fresh.app->core().connection().connected());
  std::string frame_size;
  fresh.host.onModal("STCONFIG", [&](fake::FakeForm& f) {
    frame_size = f.text(201);
    f.click(1);
  });
  fresh.host.command(kMenuStreaming);
  EXPECT_EQ(frame_size, "1500");
  EXPECT_EQ(fresh.host.pendingModalScripts(), 0u);

  std::string error;
  auto ctl = cardsim::CtlClient::Connect(dir.path(), &error);
  ASSERT_NE(ctl, nullptr) << error;
  cardsim::CtlReply state = ctl->call("state TALVSTRM1");
  ASSERT_TRUE(state.ok) << state.text;
  EXPECT_NE(state.text.find("configured=1"), std::string::npos) << state.text;
  EXPECT_NE(state.text.find("max_frame_size=1500"), std::string::npos) << state.text;
  EXPECT_NE(state.text.find("media=1 "), std::string::npos) << state.text;
  EXPECT_NE(state.text.find("channels=0x00FFFFFF"), std::string::npos) << state.text;
  fresh.host.command(kMenuCloseDevice);
  fresh.app->Exit(0);
}

}  // namespace
