// Return codes the firmware might give, any command, any time: a seeded
// random run of rc faults while every window ticks and its buttons are
// pressed. The monitor must neither crash, hang nor show garbled text, and
// must work as before once the faults are cleared.

#include <cstdio>
#include <random>

#include "monitor/core/comm_error_statistics_window.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/operational_statistics_window.h"
#include "monitor/line/ft1_config_dialog.h"
#include "monitor/line/ft1_statistics_window.h"
#include "monitor/line/ft1_status_window.h"
#include "monitor/line/te1_alarms_window.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/traffic/modem_status_dialog.h"
#include "monitor/traffic/read_register_dialog.h"
#include "tests/fault_injection/monitor_fixture.h"

namespace faults {
namespace {

constexpr uint32_t kSeed = 0x7A1F0CE5;
constexpr int kRounds = 400;
// One action, a Disable that waits out the reader's pause included.
constexpr long long kActionBoundMs = 5000;

// Codes the monitor gives a meaning to, and a few it does not.
constexpr uint8_t kReturnCodes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x07, 0x08,
                                    0x09, 0x0A, 0x0B, 0x7F, 0xAA, 0xCD, 0xFF};

struct LineWindow {
  int menu;
  const char* name;
};
constexpr LineWindow kFt1Windows[] = {
    {kMenuFt1Status, "T1STATUS"}, {kMenuFt1Statistics, "T1STATS"}, {kMenuAdvancedFt1, "ADVANCED_FT1_CONFIG"}};
constexpr LineWindow kTe1Windows[] = {{kMenuTe1Alarms, "TE1ALARMS"}, {kMenuTe1Tests, "TE1_TESTS"}};
constexpr LineWindow k56KWindows[] = {{kMenu56KStatus, "IDD_56K_STATUS"}};

class RandomReturnCodesTest : public MonitorOverDaemon, public ::testing::WithParamInterface<const char*> {
 protected:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string device() const { return GetParam(); }

  void injectOne() {
    const auto& commands = MailboxCommands();
    const uint8_t command = commands[pick(static_cast<int>(commands.size()))];
    const int k = pick(std::size(kReturnCodes) + 1);
    const uint8_t rc = k < static_cast<int>(std::size(kReturnCodes)) ? kReturnCodes[k] : static_cast<uint8_t>(pick(256));
    char line[64];
    std::snprintf(line, sizeof line, "rc %s 0x%02X 0x%02X %d", GetParam(), command, rc, 1 + pick(3));
    ctl(line);
  }

  fake::FakeForm* open(const char* name) { return host_.window(name); }

  // Opens the window when it is missing and may be opened, else closes it.
  void toggleWindow(const LineWindow& w) {
    if (fake::FakeForm* f = open(w.name)) {
      f->closeBox();
    } else if (host_.isMenuEnabled(w.menu)) {
      host_.command(w.menu);
    }
    host_.runPosted();
  }

  void act() {
    const bool connected = app_->core().connection().connected();
    switch (pick(12)) {
      case 0:
      case 1: tickEveryWindow(); break;
      case 2:
        if (auto* f = open("OPSTATS")) f->click(OperationalStatisticsWindow::kFlushButton);
        if (auto* f = open("COMES")) f->click(CommErrorStatisticsWindow::kFlushButton);
        break;
      case 3:
        if (auto* f = open("DENTRY")) {
          f->type(SendFramesWindow::kData, "7E 01 02");
          f->click(pick(2) == 0 ? SendFramesWindow::kSend : SendFramesWindow::kStartStop);
        }
        break;
      case 4:
        if (!connected) break;
        host_.onModal("SETMODEM", [this](fake::FakeForm& f) {
          if (pick(2) == 0) f.click(SetModemStatusDialog::kDtr);
          f.click(1);
        });
        host_.command(kMenuSetModemStatus);
        break;
      case 5: ft1Action(); break;
      case 6: te1Action(); break;
      case 7: {
        const auto& set = hasFt1() ? std::span<const LineWindow>(kFt1Windows)
                          : hasTe1() ? std::span<const LineWindow>(kTe1Windows)
                                     : std::span<const LineWindow>(k56KWindows);
        toggleWindow(set[pick(static_cast<int>(set.size()))]);
        break;
      }
      case 8:
        if (!connected) break;
        if (app_->communications().enabled()) {
          host_.command(kMenuDisableCommunications);
        } else {
          host_.command(kMenuEnableCommunications);
          if (open("DENTRY") == nullptr) host_.command(kMenuSendFrames);
        }
        break;
      case 9:
        if (connected) host_.command(kMenuCloseDevice);
        host_.runPosted();
        host_.command(kMenuOpenDevice);
        break;
      case 10:
        if (connected) openMissingWindows();
        else host_.command(kMenuOpenDevice);
        break;
      case 11:
        host_.command(kMenuPollNow);
        break;
    }
    host_.runPosted();
  }

  void ft1Action() {
    switch (pick(4)) {
      case 0:
        if (auto* f = open("T1STATUS")) f->click(Ft1StatusWindow::kSelect);
        break;
      case 1:
        if (auto* f = open("T1STATS")) f->click(Ft1StatisticsWindow::kFlush);
        break;
      case 2:
        if (auto* f = open("ADVANCED_FT1_CONFIG")) f->typeChar("12\r"[pick(3)]);
        break;
      case 3:
        if (!host_.isMenuEnabled(kMenuFt1Configuration)) break;
        host_.onModal("FT1_CONFIG", [](fake::FakeForm& f) {
          f.click(Ft1ConfigDialog::kSet);
          f.click(Ft1ConfigDialog::kClose);
        });
        host_.command(kMenuFt1Configuration);
        // A failed read ends the dialog before its script runs.
        host_.dropModalScripts();
        break;
    }
  }

  void te1Action() {
    switch (pick(3)) {
      case 0:
        if (auto* f = open("TE1_TESTS")) f->click(Te1TestsWindow::kModes[pick(4)].button);
        break;
      case 1:
        if (auto* f = open("TE1ALARMS")) f->click(Te1AlarmsWindow::kFlush);
        break;
      case 2:
        if (!host_.isMenuEnabled(kMenuReadRegister)) break;
        host_.onModal("READ_REGISTER", [this](fake::FakeForm& f) {
          f.type(ReadRegisterDialog::kRegister, std::to_string(pick(100)));
          f.click(ReadRegisterDialog::kRead);
          f.click(2);
        });
        host_.command(kMenuReadRegister);
        break;
    }
  }

  std::mt19937 rng_{kSeed};
};

TEST_P(RandomReturnCodesTest, NothingBreaksAndTheMonitorWorksAfterClear) {
  std::printf("random return codes on %s, seed 0x%08X\n", GetParam(), kSeed);
  RecordProperty("seed", std::to_string(kSeed));
  connect(device());
  openEveryWindow();
  for (int round = 0; round < kRounds; ++round) {
    injectOne();
    auto start = Clock::now();
    act();
    ASSERT_LT(ElapsedMs(start), kActionBoundMs) << "round " << round;
    expectCleanTexts();
    ASSERT_FALSE(HasFailure()) << "round " << round;
  }

  ctl("clear " + device());
  tickEveryWindow();
  if (!app_->core().connection().connected()) host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  openEveryWindow();
  // Send Many would add its frames to the one counted below.
  if (window("DENTRY").text(SendFramesWindow::kStartStop) == "Stop") window("DENTRY").click(SendFramesWindow::kStartStop);
  prompter_.clear();
  tickEveryWindow();
  EXPECT_EQ(window("POLLS").text(PollingInfoWindow::kResult), "Success");
  if (hasFt1()) {
    window("T1STATUS").click(Ft1StatusWindow::kSelect);
    EXPECT_EQ(prompter_.count(), 0u);
  }
  sendAndAwait("55 AA");
  expectCleanTexts();
}

INSTANTIATE_TEST_SUITE_P(Cards, RandomReturnCodesTest,
                         ::testing::Values("TALVSTRM0", "TALVSTRM1", "TALVSTRM2", "TALVSTRM3"));

}  // namespace
}  // namespace faults
