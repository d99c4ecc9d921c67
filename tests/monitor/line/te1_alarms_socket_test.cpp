// The TE1 alarms window of a monitor connected over the socket backend to
// a real talvcard process, with the alarm raised through its control channel.

#include <gtest/gtest.h>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/line/te1_alarms_window.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/traffic/set_config_dialog.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace {

using W = Te1AlarmsWindow;
using ui::LightColour;

class Te1OverSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(daemon_.serving());
    std::string error;
    ctl_ = cardsim::CtlClient::Connect(dir_.path(), &error);
    ASSERT_NE(ctl_, nullptr) << error;
    settings_ = std::make_unique<ProfileFile>(dir_.path() + "/talvmon.ini");
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, *settings_});
    ASSERT_TRUE(app_->Start());
    // Configure the T1 card and connect, as a user would.
    app_->core().connection().setDeviceName("TALVSTRM1");
    host_.onModal("SETCONFIG", [](fake::FakeForm& f) {
      f.select(SetConfigDialog::kMediaType, 1);
      f.type(SetConfigDialog::kActiveChannels, "1-24");
      f.click(SetConfigDialog::kOk);
    });
    host_.command(kMenuConfigureDevice);
    host_.command(kMenuOpenDevice);
    ASSERT_TRUE(app_->core().connection().connected());
    ASSERT_EQ(app_->serviceUnit().frontEndType(), kFrontEndT1);
  }
  void TearDown() override {
    app_.reset();
    if (daemon_.serving()) {
      EXPECT_EQ(daemon_.stop(SIGTERM), 0);
    }
  }

  std::string ctl(const std::string& line) {
    cardsim::CtlReply reply = ctl_->call(line);
    EXPECT_TRUE(reply.ok) << line << ": " << reply.text;
    return reply.text;
  }

  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_{dir_.path()};
  SocketCardDriver driver_{dir_.path()};
  fake::FakeHost host_;
  fake::FakePrompter prompter_;
  std::unique_ptr<ProfileFile> settings_;
  std::unique_ptr<MonitorApp> app_;
  std::unique_ptr<cardsim::CtlClient> ctl_;
};

TEST_F(Te1OverSocketTest, AnAlarmRaisedInTheSimulatorLightsInTheWindow) {
  host_.command(kMenuTe1Alarms);
  fake::FakeForm* f = host_.window("TE1ALARMS");
  ASSERT_NE(f, nullptr);
  host_.fireTimer(*f, W::kRefreshTimer);
  EXPECT_EQ(f->light(W::kRedLight), LightColour::Green);

  ctl("alarm TALVSTRM1 red on");
  ctl("counter TALVSTRM1 1 0xFFFFFFFF");
  host_.fireTimer(*f, W::kRefreshTimer);
  EXPECT_EQ(f->light(W::kRedLight), LightColour::Red);
  EXPECT_EQ(f->light(W::kOofLight), LightColour::Green);
  EXPECT_EQ(f->light(W::kAisLight), LightColour::Green);
  EXPECT_EQ(f->light(W::kYelLight), LightColour::Green);
  EXPECT_EQ(f->text(W::kSecondCounter), "4294967295");

  f->click(W::kFlush);
  host_.fireTimer(*f, W::kRefreshTimer);
  EXPECT_EQ(f->text(W::kSecondCounter), "0");
  ctl("alarm TALVSTRM1 red off");
  host_.fireTimer(*f, W::kRefreshTimer);
  EXPECT_EQ(f->light(W::kRedLight), LightColour::Green);
}

TEST_F(Te1OverSocketTest, LoopbackModesReachTheCardAndEndAtCloseDevice) {
  host_.command(kMenuTe1Tests);
  fake::FakeForm* f = host_.window("TE1_TESTS");
  ASSERT_NE(f, nullptr);
  f->click(Te1TestsWindow::kLineLoopBack);
  f->click(Te1TestsWindow::kLoopBackSignal);
  EXPECT_EQ(ctl("frontend TALVSTRM1"), "alarms=0x0000 counters=0,0,0,0 linelb=1 paylb=0 ddlb=0 lbsignal=1");
  host_.command(kMenuCloseDevice);
  EXPECT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(ctl("frontend TALVSTRM1"), "alarms=0x0000 counters=0,0,0,0 linelb=0 paylb=0 ddlb=0 lbsignal=0");
}

}  // namespace
