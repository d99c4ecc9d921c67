// A card whose firmware answers no mailbox command: every window's commands
// fail with their own messages, within the executor's retry rules.

#include <cstdio>

#include "monitor/core/comm_error_statistics_window.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/operational_statistics_window.h"
#include "monitor/line/ft1_statistics_window.h"
#include "monitor/line/ft1_status_window.h"
#include "monitor/line/ft1_terminal_window.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/traffic/read_register_dialog.h"
#include "tests/fault_injection/monitor_fixture.h"

namespace faults {
namespace {

using P = PollingInfoWindow;

struct NoAnswerCase {
  const char* device;
  const char* how;          // the daemon's word: preset or 7f
  const char* return_code;  // what the monitor then reads
};

void PrintTo(const NoAnswerCase& c, std::ostream* os) { *os << c.device << "/" << c.how; }

class NoAnswerTest : public MonitorOverDaemon, public ::testing::WithParamInterface<NoAnswerCase> {
 protected:
  void SetUp() override {
    connect(GetParam().device);
    openEveryWindow();
    tickEveryWindow();
  }
  void silenceEveryCommand() {
    for (uint8_t command : MailboxCommands()) {
      char line[64];
      std::snprintf(line, sizeof line, "noanswer %s 0x%02X %s", GetParam().device, command, GetParam().how);
      ctl(line);
    }
  }
  std::string device() const { return GetParam().device; }
  std::string rc() const { return GetParam().return_code; }
  void expectLastPrompt(const std::string& text, const std::string& caption) {
    ASSERT_GT(prompter_.count(), 0u) << text;
    EXPECT_EQ(prompter_.last().text, text);
    EXPECT_EQ(prompter_.last().caption, caption);
  }
};

TEST_P(NoAnswerTest, EveryWindowsCommandsFailWithTheirMessages) {
  silenceEveryCommand();
  auto start = Clock::now();
  for (int i = 0; i < 3; ++i) tickEveryWindow();
  EXPECT_LT(ElapsedMs(start), 2000);
  host_.firePollTimer();
  // Last in the tick: Receive Detail's read of the frames lost at the card.
  EXPECT_EQ(polling(P::kLastCommand), "Read Operational Stats:");
  EXPECT_EQ(polling(P::kReturnCode), rc());
  EXPECT_EQ(polling(P::kResult), rc());

  window("OPSTATS").click(OperationalStatisticsWindow::kFlushButton);
  EXPECT_EQ(polling(P::kLastCommand), "Flush Operational Stats:");
  EXPECT_EQ(polling(P::kResult), rc());
  window("COMES").click(CommErrorStatisticsWindow::kFlushButton);
  EXPECT_EQ(polling(P::kLastCommand), "Flush Comms Err Stats:");
  EXPECT_EQ(polling(P::kResult), rc());

  if (hasFt1()) {
    prompter_.clear();
    window("T1STATUS").click(Ft1StatusWindow::kSelect);
    expectLastPrompt("Couldn't perform SELECT. Try again", "T1 Status Error");
    start = Clock::now();
    window("T1STATS").click(Ft1StatisticsWindow::kFlush);
    // Up to 5000 sends of each flag change, answered at once: bounded.
    EXPECT_LT(ElapsedMs(start), 10000);
    host_.command(kMenuFt1Configuration);
    expectLastPrompt("Cannot perform the command on Remote Driver", "Read T1 Configuration");

    // Closed and opened again while the unit does not answer.
    window("T1STATUS").closeBox();
    window("T1STATS").click(Ft1StatisticsWindow::kClose);
    window("ADVANCED_FT1_CONFIG").click(Ft1TerminalWindow::kClose);
    host_.runPosted();
    host_.command(kMenuFt1Status);
    expectLastPrompt("T1 Status Window can not be opened.", "T1 Status Window");
    host_.command(kMenuFt1Statistics);
    expectLastPrompt("T1 Operational and Error Statistics Window can not be opened.",
                     "T1 Operational \\ Err Statistcs Window");
    host_.command(kMenuAdvancedFt1);
    expectLastPrompt("Cannot perform the command on Remote Driver.", "Set T1 Configuration");
    host_.runPosted();
    EXPECT_EQ(host_.window("T1STATUS"), nullptr);
    EXPECT_EQ(host_.window("T1STATS"), nullptr);
    EXPECT_EQ(host_.window("ADVANCED_FT1_CONFIG"), nullptr);
  }
  if (hasTe1()) {
    window("TE1_TESTS").click(Te1TestsWindow::kPayloadLoopBack);
    EXPECT_EQ(polling(P::kLastCommand), "ACTIVATE_PAYLB_MODE");
    EXPECT_EQ(polling(P::kReturnCode), rc());
    EXPECT_EQ(polling(P::kResult), "Failure");
    host_.onModal("READ_REGISTER", [](fake::FakeForm& f) {
      f.type(ReadRegisterDialog::kRegister, "2");
      f.click(ReadRegisterDialog::kRead);
      EXPECT_EQ(f.text(ReadRegisterDialog::kValue), "?");
      f.click(2);
    });
    host_.command(kMenuReadRegister);
  }
  expectCleanTexts();
  // The program's exit then finds a card that answers.
  ctl("clear " + device());
}

TEST_P(NoAnswerTest, DisableReturnsWithinItsBoundAndEnableFailsQuietlyToTheCommandDisplay) {
  silenceEveryCommand();
  ReceptionThread* reader = app_->communications().receptionThread();
  ASSERT_NE(reader, nullptr);
  // 21 unanswered commands, then the reader is given its pause and cancelled.
  auto start = Clock::now();
  host_.command(kMenuDisableCommunications);
  const long long took = ElapsedMs(start);
  EXPECT_GE(took, Communications::kReceptionPause.count() - 50);
  EXPECT_LT(took, Communications::kReceptionPause.count() + 1500);
  EXPECT_EQ(app_->communications().receptionThread(), nullptr);
  EXPECT_EQ(host_.window("RDETAIL"), nullptr);
  EXPECT_EQ(host_.window("DENTRY"), nullptr);
  EXPECT_FALSE(app_->communications().enabled());

  host_.command(kMenuEnableCommunications);
  EXPECT_EQ(polling(P::kLastCommand), "Enable Comms:");
  EXPECT_EQ(polling(P::kResult), rc());
  EXPECT_EQ(host_.window("RDETAIL"), nullptr);
  EXPECT_EQ(app_->communications().receptionThread(), nullptr);
}

TEST_P(NoAnswerTest, OpeningRetriesThreeTimesAtMostThenReports) {
  host_.command(kMenuDisableCommunications);
  host_.command(kMenuCloseDevice);
  host_.runPosted();
  silenceEveryCommand();
  prompter_.clear();
  for (int i = 0; i < 5; ++i) prompter_.answer(ui::Answer::Retry);
  host_.command(kMenuOpenDevice);
  EXPECT_FALSE(app_->core().connection().connected());
  ASSERT_EQ(prompter_.count(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(prompter_.shown()[i].text, "Command timeout occurred. Retry?");
  expectLastPrompt("Unable to obtain streaming configuration.  Make sure the device name is correct and that "
                   "another process has already set the configuration.",
                   "Command Error");

  // Exactly four reads: with four unanswered, the next opening is answered at once.
  ctl("clear " + device());
  ctl("noanswer " + device() + " 0x23 " + GetParam().how + " 4");
  prompter_.clear();
  for (int i = 0; i < 5; ++i) prompter_.answer(ui::Answer::Retry);
  host_.command(kMenuOpenDevice);
  EXPECT_FALSE(app_->core().connection().connected());
  EXPECT_EQ(prompter_.count(), 4u);
  prompter_.clear();
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  EXPECT_EQ(prompter_.count(), 0u);
  host_.command(kMenuOpenAll);
  tickEveryWindow();
  EXPECT_EQ(polling(P::kResult), "Success");
}

INSTANTIATE_TEST_SUITE_P(Cards, NoAnswerTest,
                         ::testing::Values(NoAnswerCase{"TALVSTRM0", "preset", "0xAA"},
                                           NoAnswerCase{"TALVSTRM0", "7f", "0x7F"},
                                           NoAnswerCase{"TALVSTRM1", "preset", "0xAA"},
                                           NoAnswerCase{"TALVSTRM1", "7f", "0x7F"}));

}  // namespace
}  // namespace faults
