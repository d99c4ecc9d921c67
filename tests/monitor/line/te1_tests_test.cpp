#include <gtest/gtest.h>

#include "monitor/core/polling_info_window.h"
#include "monitor/line/te1_tests_window.h"
#include "tests/monitor/line/line_fixture.h"

namespace {

using W = Te1TestsWindow;
using P = PollingInfoWindow;

class Te1TestsTest : public LineTest {
 protected:
  fake::FakeForm& open(uint8_t front_end = kFrontEndT1) {
    connectWith(front_end);
    host.command(kMenuTe1Tests);
    return window("TE1_TESTS");
  }
  fake::FakeForm& polls() { return window("POLLS"); }
  // Switches on the modes of the given buttons and forgets what was sent.
  void switchOn(fake::FakeForm& f, std::initializer_list<int> buttons) {
    for (int b : buttons) f.click(b);
    driver.requests.clear();
    prompter.clear();
  }
  void expectNotice() {
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "All Test Modes will be terminated.");
    EXPECT_EQ(prompter.last().caption, "Terminating test modes");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Information);
    EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  }
};

TEST_F(Te1TestsTest, OpensOnT1AndE1Only) {
  for (uint8_t front_end : {kFrontEndT1, kFrontEndE1}) {
    fake::FakeForm& f = open(front_end);
    EXPECT_EQ(f.title(), "T1/E1 Tests");
    EXPECT_EQ(host.kindOf(f), ui::WindowKind::OwnedPopup);
    EXPECT_TRUE(host.isMenuChecked(kMenuTe1Tests));
    EXPECT_TRUE(driver.requests.empty());
    for (const auto& m : W::kModes) EXPECT_EQ(f.text(m.button), m.caption_off);
    host.command(kMenuCloseDevice);
  }
  for (uint8_t front_end : {kFrontEndNone, kFrontEnd56K}) {
    connectWith(front_end);
    EXPECT_FALSE(host.isMenuEnabled(kMenuTe1Tests));
    core->mainWindow().onMenuCommand(kMenuTe1Tests);
    EXPECT_EQ(host.window("TE1_TESTS"), nullptr);
    host.command(kMenuCloseDevice);
  }
}

TEST_F(Te1TestsTest, EachButtonSwitchesItsModeOnAndOff) {
  struct Case {
    int button;
    uint8_t on, off;
    const char *caption_off, *caption_on, *name_on, *name_off;
  };
  const Case cases[] = {
      {W::kLineLoopBack, 0xA0, 0xA1, "Activate Line Loop Back Mode", "Deactivate Line Loop Back Mode",
       "ACTIVATE_LINELB_MODE", "DEACTIVATE_LINELB_MODE"},
      {W::kPayloadLoopBack, 0xA2, 0xA3, "Activate Payload Loop Back Mode",
       "Deactivate Payload Loop Back Mode", "ACTIVATE_PAYLB_MODE", "DEACTIVATE_PAYLB_MODE"},
      {W::kDiagnosticDigitalLoopBack, 0xA4, 0xA5, "Activate Diagnostic Digital Loop Back Mode",
       "Deactivate Diagnostic Digital Loop Back Mode", "ACTIVATE_DDLB_MODE", "DEACTIVATE_DDLB_MODE"},
      {W::kLoopBackSignal, 0xA6, 0xA7, "Send Activate Loop Back Signal", "Send Deactivate Loop Back Signal",
       "ACTIVATE_LB_MODE", "DEACTIVATE_LB_MODE"},
  };
  fake::FakeForm& f = open();
  for (const Case& c : cases) {
    EXPECT_EQ(f.text(c.button), c.caption_off);
    f.click(c.button);
    EXPECT_EQ(f.text(c.button), c.caption_on);
    EXPECT_EQ(polls().text(P::kLastCommand), c.name_on);
    EXPECT_EQ(polls().text(P::kReturnCode), "0x00");
    EXPECT_EQ(polls().text(P::kResult), "Success");
    f.click(c.button);
    EXPECT_EQ(f.text(c.button), c.caption_off);
    EXPECT_EQ(polls().text(P::kLastCommand), c.name_off);
    ASSERT_EQ(driver.requests.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(driver.requests[i].code, IOCTL_EXEC_CMD_2K);
      EXPECT_EQ(driver.requests[i].in[1], i == 0 ? c.on : c.off);
      EXPECT_EQ(le::get_u16(driver.requests[i].in, 2), 0);
    }
    driver.requests.clear();
  }
}

TEST_F(Te1TestsTest, ARefusedCommandShowsFailureAndStillFlipsTheMode) {
  fake::FakeForm& f = open();
  replies[ACTIVATE_LINELB_MODE] = {RC_NO_FT1_ADAPTER, {}};
  f.click(W::kLineLoopBack);
  EXPECT_EQ(polls().text(P::kLastCommand), "ACTIVATE_LINELB_MODE");
  EXPECT_EQ(polls().text(P::kReturnCode), "0x06");
  EXPECT_EQ(polls().text(P::kResult), "Failure");
  EXPECT_EQ(f.text(W::kLineLoopBack), "Deactivate Line Loop Back Mode");
  f.click(W::kLineLoopBack);
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA0, 0xA1}));
}

TEST_F(Te1TestsTest, ACommandThatNeverReachedTheCardIsAFailure) {
  fake::FakeForm& f = open();
  // The block still holds a zero from an earlier exchange.
  core->exec().block().setReturnCode(0);
  replies[ACTIVATE_PAYLB_MODE] = {0, {}, false};
  f.click(W::kPayloadLoopBack);
  EXPECT_EQ(polls().text(P::kReturnCode), "0xAA");
  EXPECT_EQ(polls().text(P::kResult), "Failure");
}

TEST_F(Te1TestsTest, WithThePollingWindowClosedNothingIsShown) {
  fake::FakeForm& f = open();
  polls().click(kCloseButton);
  host.runPosted();
  ASSERT_EQ(host.window("POLLS"), nullptr);
  f.click(W::kLineLoopBack);
  EXPECT_EQ(f.text(W::kLineLoopBack), "Deactivate Line Loop Back Mode");
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA0}));
}

TEST_F(Te1TestsTest, ClosingSwitchesOffWhatIsOnInFixedOrder) {
  fake::FakeForm& f = open();
  switchOn(f, {W::kLoopBackSignal, W::kPayloadLoopBack});
  polls().setText(P::kLastCommand, "unchanged");
  f.click(W::kClose);
  expectNotice();
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA3, 0xA7}));
  // Not shown in the Polling and Device Info window.
  EXPECT_EQ(polls().text(P::kLastCommand), "unchanged");
  EXPECT_EQ(host.window("TE1_TESTS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenuTe1Tests));
  host.runPosted();

  // Every mode is off again in the next window.
  host.command(kMenuTe1Tests);
  fake::FakeForm& again = window("TE1_TESTS");
  for (const auto& m : W::kModes) EXPECT_EQ(again.text(m.button), m.caption_off);
  switchOn(again, {W::kLineLoopBack, W::kDiagnosticDigitalLoopBack, W::kPayloadLoopBack,
                   W::kLoopBackSignal});
  again.closeBox();
  expectNotice();
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA1, 0xA3, 0xA5, 0xA7}));
}

TEST_F(Te1TestsTest, ClosingWithEveryModeOffSendsNothing) {
  fake::FakeForm& f = open();
  switchOn(f, {W::kLineLoopBack, W::kLineLoopBack});
  f.click(W::kClose);
  EXPECT_EQ(prompter.count(), 0u);
  EXPECT_TRUE(driver.requests.empty());
  EXPECT_EQ(host.window("TE1_TESTS"), nullptr);
}

TEST_F(Te1TestsTest, CloseDeviceSwitchesModesOffBeforeTheHandleCloses) {
  fake::FakeForm& f = open();
  switchOn(f, {W::kDiagnosticDigitalLoopBack});
  host.command(kMenuCloseDevice);
  expectNotice();
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA5}));
  // Recorded by the handle, so sent while the device was still open.
  EXPECT_EQ(driver.open_handles, 0);
  EXPECT_EQ(host.window("TE1_TESTS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenuTe1Tests));
}

TEST_F(Te1TestsTest, ExitSwitchesModesOffBeforeTheConnectionCloses) {
  fake::FakeForm& f = open();
  switchOn(f, {W::kLineLoopBack, W::kLoopBackSignal});
  int handles_at_close = -1;
  prompter.while_shown = [&](const ui::Prompt&) { handles_at_close = driver.open_handles; };
  host.command(kMenuExit);
  host.runPosted();
  EXPECT_FALSE(host.mainWindowExists());
  expectNotice();
  EXPECT_EQ(handles_at_close, 1);
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA1, 0xA7}));
  EXPECT_EQ(app->Exit(0), 0);
  EXPECT_EQ(driver.open_handles, 0);
}

TEST_F(Te1TestsTest, ASecondCloseRequestDuringTheNoticeIsIgnored) {
  fake::FakeForm& f = open();
  switchOn(f, {W::kPayloadLoopBack});
  prompter.while_shown = [&](const ui::Prompt&) {
    host.postCloseRequest(f);
    host.runPosted();
  };
  f.click(W::kClose);
  EXPECT_EQ(prompter.count(), 1u);
  EXPECT_EQ(sent2K(), (std::vector<uint8_t>{0xA3}));
  EXPECT_EQ(host.window("TE1_TESTS"), nullptr);
}

TEST_F(Te1TestsTest, ChoosingItAgainRaisesTheOpenWindow) {
  fake::FakeForm& f = open();
  f.minimize();
  int raised = f.raisedCount();
  host.command(kMenuTe1Tests);
  EXPECT_FALSE(f.isMinimized());
  EXPECT_EQ(f.raisedCount(), raised + 1);
  EXPECT_EQ(host.windows().size(), 2u);
}

TEST(LoopbackCommandNameTest, NamesTheEightCodesOnly) {
  EXPECT_EQ(LoopbackCommandName(0xA0), "ACTIVATE_LINELB_MODE");
  EXPECT_EQ(LoopbackCommandName(0xA7), "DEACTIVATE_LB_MODE");
  EXPECT_EQ(LoopbackCommandName(0xA8), "Unknown CMD!");
  EXPECT_EQ(LoopbackCommandName(0x62), "Unknown CMD!");
}

}  // namespace
