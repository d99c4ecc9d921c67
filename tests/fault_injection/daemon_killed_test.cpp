// The card driver going away under a monitor that polls with every window
// open: each command fails where the user sees it, nothing waits, and the
// monitor works again once the driver is back.

#include <algorithm>
#include <map>

#include "monitor/core/menu_ids.h"
#include "monitor/line/ft1_statistics_window.h"
#include "monitor/line/ft1_status_window.h"
#include "monitor/line/memory_dump_dialog.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/traffic/read_register_dialog.h"
#include "tests/fault_injection/monitor_fixture.h"

namespace faults {
namespace {

using P = PollingInfoWindow;

// Every text of the window, to tell what a failure changed.
std::map<int, std::string> Texts(const fake::FakeForm& f) {
  std::map<int, std::string> texts;
  for (const auto& c : f.formTemplate().controls)
    if (c.id != ui::kNoId) texts[c.id] = f.text(c.id);
  return texts;
}

bool Shown(const fake::FakePrompter& prompter, const std::string& text) {
  return std::any_of(prompter.shown().begin(), prompter.shown().end(),
                     [&](const ui::Prompt& p) { return p.text == text; });
}

class DaemonKilledTest : public MonitorOverDaemon, public ::testing::WithParamInterface<const char*> {};

TEST_P(DaemonKilledTest, EveryCommandFailsVisiblyAndTheMonitorRecoversAfterARestart) {
  connect(GetParam());
  openEveryWindow();
  tickEveryWindow();
  sendAndAwait("01 02 03");
  ASSERT_EQ(polling(P::kResult), "Success");
  const auto link = Texts(window("LSTAT"));
  const auto operational = Texts(window("OPSTATS"));
  const auto modem = Texts(window("MODEMS"));
  const auto received = window("RDETAIL").lines(ReceiveDetailWindow::kList);

  killDaemon();
  // The reader's blocking receive fails with the connection.
  ReceptionThread* reader = app_->communications().receptionThread();
  ASSERT_NE(reader, nullptr);
  EXPECT_TRUE(reader->waitForEnd(2000ms));

  auto start = Clock::now();
  for (int i = 0; i < 5; ++i) tickEveryWindow();
  EXPECT_LT(ElapsedMs(start), 2000);
  host_.firePollTimer();
  // The tick's last command, Receive Detail's read of the frames lost at the
  // card, unanswered: the preset shows.
  EXPECT_EQ(polling(P::kLastCommand), "Read Operational Stats:");
  EXPECT_EQ(polling(P::kReturnCode), "0xAA");
  EXPECT_EQ(polling(P::kResult), "0xAA");
  // Windows keep what they showed; the error counters show the cleared block.
  EXPECT_EQ(Texts(window("LSTAT")), link);
  EXPECT_EQ(Texts(window("OPSTATS")), operational);
  EXPECT_EQ(Texts(window("MODEMS")), modem);
  EXPECT_EQ(window("COMES").text(200), "0");
  EXPECT_EQ(window("RDETAIL").lines(ReceiveDetailWindow::kList), received);
  EXPECT_EQ(window("RDETAIL").text(ReceiveDetailWindow::kCounter), "1");
  EXPECT_EQ(window("RDETAIL").text(ReceiveDetailWindow::kLostAtCard), "0");

  fake::FakeForm& send = window("DENTRY");
  send.click(SendFramesWindow::kSend);
  EXPECT_EQ(send.text(SendFramesWindow::kStatus), "Sent - RC 0x01");

  host_.onModal("SETMODEM", [](fake::FakeForm& f) { f.click(1); });
  host_.command(kMenuSetModemStatus);
  EXPECT_EQ(polling(P::kLastCommand), "Set Modem Status:");
  EXPECT_EQ(polling(P::kResult), "0xAA");

  host_.onModal("MEMORYDUMP", [](fake::FakeForm& f) {
    f.click(MemoryDumpDialog::kGetMemory);
    EXPECT_EQ(f.listCount(MemoryDumpDialog::kListing), 0);
    f.click(MemoryDumpDialog::kClose);
  });
  host_.command(kMenuMemoryDump);

  prompter_.clear();
  if (hasFt1()) {
    window("T1STATUS").click(Ft1StatusWindow::kSelect);
    EXPECT_TRUE(Shown(prompter_, "Couldn't perform SELECT. Try again"));
    start = Clock::now();
    window("T1STATS").click(Ft1StatisticsWindow::kFlush);
    EXPECT_LT(ElapsedMs(start), 2000);
    window("ADVANCED_FT1_CONFIG").typeChar('2');
    // The dialog reads the unit's configuration on opening and ends at once.
    host_.command(kMenuFt1Configuration);
    EXPECT_TRUE(Shown(prompter_, "Cannot perform the command on Remote Driver"));
    EXPECT_EQ(prompter_.last().caption, "Read T1 Configuration");
  }
  if (hasTe1()) {
    window("TE1_TESTS").click(Te1TestsWindow::kLineLoopBack);
    EXPECT_EQ(polling(P::kLastCommand), "ACTIVATE_LINELB_MODE");
    EXPECT_EQ(polling(P::kResult), "Failure");
    host_.onModal("READ_REGISTER", [](fake::FakeForm& f) {
      f.type(ReadRegisterDialog::kRegister, "1");
      f.click(ReadRegisterDialog::kRead);
      EXPECT_EQ(f.text(ReadRegisterDialog::kValue), "?");
      f.click(2);
    });
    host_.command(kMenuReadRegister);
  }
  expectCleanTexts();

  // Closing and opening while the driver is gone.
  start = Clock::now();
  host_.command(kMenuCloseDevice);
  host_.runPosted();
  EXPECT_LT(ElapsedMs(start), 1000);
  EXPECT_EQ(host_.window("RDETAIL"), nullptr);
  EXPECT_EQ(host_.window("DENTRY"), nullptr);
  prompter_.clear();
  host_.command(kMenuOpenDevice);
  ASSERT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(prompter_.last().text, "Cannot open device! Error code 2.");
  EXPECT_FALSE(app_->core().connection().connected());

  startDaemon();
  prompter_.clear();
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  EXPECT_EQ(prompter_.count(), 0u);
  // A second round of Close and Open on the daemon that is back.
  host_.command(kMenuCloseDevice);
  host_.runPosted();
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  host_.command(kMenuOpenAll);
  tickEveryWindow();
  EXPECT_EQ(polling(P::kReturnCode), "0x00");
  EXPECT_EQ(polling(P::kResult), "Success");
  EXPECT_EQ(window("LSTAT").text(201), "INACTIVE");

  host_.command(kMenuEnableCommunications);
  host_.command(kMenuSendFrames);
  sendAndAwait("0A 0B");
  EXPECT_EQ(prompter_.count(), 0u);
  expectCleanTexts();
}

INSTANTIATE_TEST_SUITE_P(Cards, DaemonKilledTest, ::testing::Values("TALVSTRM0", "TALVSTRM1"));

}  // namespace
}  // namespace faults
