#include "monitor/line/ft1_terminal_window.h"

#include <string>

#include "tests/monitor/line/ft1_fixture.h"

namespace {

using W = Ft1TerminalWindow;

class Ft1TerminalTest : public Ft1Test {
 protected:
  fake::FakeForm& open() {
    host.command(kMenuAdvancedFt1);
    fake::FakeForm* f = host.window("ADVANCED_FT1_CONFIG");
    EXPECT_NE(f, nullptr);
    return *f;
  }
  void unitSends(const std::string& text) {
    queue[READ_FT1_CHARACTERS].push_back({0, std::vector<uint8_t>(text.begin(), text.end())});
  }
  // The characters sent with SEND_FT1_CHARACTER, in order.
  std::string sentCharacters() const {
    std::string out;
    for (const auto& r : requestsOf(SEND_FT1_CHARACTER)) {
      EXPECT_EQ(le::get_u16(r.in, 2), 1);
      out.push_back(static_cast<char>(r.in[16]));
    }
    return out;
  }
};

TEST_F(Ft1TerminalTest, OpeningSendsTheOneThatBringsUpTheMenu) {
  fake::FakeForm& f = open();
  EXPECT_EQ(sentCharacters(), "1");
  EXPECT_EQ(host.kindOf(f), ui::WindowKind::OwnedPopup);
  EXPECT_EQ(f.title(), "Advanced T1 Configuration");
  EXPECT_TRUE(f.formTemplate().raw_keys);
  EXPECT_FALSE(f.isEnabled(W::kList));
  EXPECT_FALSE(host.isMenuEnabled(kMenuAdvancedFt1));
  EXPECT_EQ(host.timerPeriod(f, W::kRefreshTimer), 100u);
  EXPECT_EQ(prompter.count(), 0u);
}

TEST_F(Ft1TerminalTest, ARefusedFirstCharacterClosesTheWindow) {
  struct Case {
    CardReply reply;
    const char* text;
  };
  const Case cases[] = {
      {{RC_NO_FT1_ADAPTER},
       "Advanced T1 Configuration Window can not be opened because\nthe monitor is not connected to VR20/FT-1 or "
       "VR40/FT-1 adapter."},
      {{RC_FT1_TX_BUSY}, "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command"},
      {{RC_REMOTE_DRIVER}, "Cannot perform the command on Remote Driver."},
      {{0, {}, false}, "Cannot perform the command on Remote Driver."},
  };
  for (const Case& c : cases) {
    prompter.clear();
    driver.requests.clear();
    replies[SEND_FT1_CHARACTER] = c.reply;
    host.command(kMenuAdvancedFt1);
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, c.text);
    EXPECT_EQ(prompter.last().caption, "Set T1 Configuration");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
    EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
    EXPECT_EQ(sentCharacters(), "1");  // no resend at opening
    host.runPosted();
    EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
    EXPECT_TRUE(host.isMenuEnabled(kMenuAdvancedFt1));
  }
}

TEST_F(Ft1TerminalTest, WithoutATimerTheWindowCloses) {
  host.timers_available = false;
  host.command(kMenuAdvancedFt1);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Couldn't get system timer. Close some other application and try again.");
  EXPECT_EQ(prompter.last().caption, "T1 Advanced Configuration");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
  EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  host.runPosted();
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  EXPECT_TRUE(host.isMenuEnabled(kMenuAdvancedFt1));
}

TEST_F(Ft1TerminalTest, LinesAssembleFromWhatTheUnitSends) {
  struct Case {
    const char* name;
    std::vector<std::string> replies;
    std::vector<std::string> lines;
    int selected;
  };
  const Case cases[] = {
      {"one line", {"OK\r\n"}, {"OK", " "}, 0},
      {"partial line, then more of it", {"MEN", "U: 1"}, {"MENU: 1"}, 0},
      {"line feeds are skipped", {"\nA\n\nB\r"}, {"AB", " "}, 0},
      {"an empty line", {"X\r\r"}, {"X", "", " "}, 1},
      {"a line in the making after a complete one", {"1) Rate\r\n2) Fr", "aming"}, {"1) Rate", "2) Framing"}, 1},
      {"nothing", {""}, {}, -1},
  };
  for (const Case& c : cases) {
    fake::FakeForm& f = open();
    for (const auto& r : c.replies) {
      unitSends(r);
      fire(f);
    }
    EXPECT_EQ(f.lines(W::kList), c.lines) << c.name;
    EXPECT_EQ(f.listSelection(W::kList), c.selected) << c.name;
    f.closeBox();
    host.runPosted();
  }
}

TEST_F(Ft1TerminalTest, ALongLineContinuesOnANewEntry) {
  fake::FakeForm& f = open();
  unitSends(std::string(600, 'z'));
  fire(f);
  auto lines = f.lines(W::kList);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(501, 'z'));
  EXPECT_EQ(lines[1], std::string(99, 'z'));
  EXPECT_EQ(f.listSelection(W::kList), 1);
}

TEST_F(Ft1TerminalTest, TheListKeepsTheLastHundredLines) {
  fake::FakeForm& f = open();
  std::string burst;
  for (int i = 1; i <= 150; ++i) burst += "line " + std::to_string(i) + "\r\n";
  unitSends(burst.substr(0, 900));
  fire(f);
  unitSends(burst.substr(900));
  fire(f);
  auto lines = f.lines(W::kList);
  ASSERT_EQ(lines.size(), 101u);
  EXPECT_EQ(lines.front(), "line 51");
  EXPECT_EQ(lines[99], "line 150");
  EXPECT_EQ(lines.back(), " ");
  EXPECT_EQ(f.listSelection(W::kList), 99);
  unitSends("next");
  fire(f);
  EXPECT_EQ(f.lines(W::kList).back(), "next");
  EXPECT_EQ(f.lines(W::kList).size(), 101u);
}

TEST_F(Ft1TerminalTest, AReplyLengthPastTheRequestIsBounded) {
  fake::FakeForm& f = open();
  auto answer = driver.answer;
  driver.answer = [answer](const fake::Request& r, uint8_t* out, size_t out_len) {
    bool ok = answer(r, out, out_len);
    if (r.in[1] == READ_FT1_CHARACTERS) out[2] = out[3] = 0xFF;
    return ok;
  };
  unitSends(std::string(1000, 'q'));
  fire(f);
  auto lines = f.lines(W::kList);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], std::string(1000 - 501, 'q'));
}

TEST_F(Ft1TerminalTest, AFailedReadShowsNothing) {
  fake::FakeForm& f = open();
  queue[READ_FT1_CHARACTERS] = {{RC_NO_FT1_ADAPTER, {'A'}}, {0, {}, false}};
  fire(f, W::kRefreshTimer, 2);
  EXPECT_EQ(f.listCount(W::kList), 0);
}

TEST_F(Ft1TerminalTest, TypedCharactersGoToTheUnitUnchanged) {
  fake::FakeForm& f = open();
  for (uint8_t ch : {'2', '\r', '\b', '\t'}) f.typeChar(ch);
  EXPECT_EQ(sentCharacters(), "12\r\b\t");
  EXPECT_TRUE(f.lines(W::kList).empty());  // no local echo
}

TEST_F(Ft1TerminalTest, ABusyUnitGetsTwentyResends) {
  fake::FakeForm& f = open();
  driver.requests.clear();
  queue[SEND_FT1_CHARACTER] = {{RC_FT1_TX_BUSY}, {0}};
  f.typeChar('3');
  EXPECT_EQ(sentCharacters(), "33");
  EXPECT_EQ(prompter.count(), 0u);

  driver.requests.clear();
  queue[SEND_FT1_CHARACTER] = {{RC_REMOTE_DRIVER}};
  f.typeChar('4');
  EXPECT_EQ(sentCharacters(), "4");  // only busy is worth repeating
  EXPECT_EQ(prompter.count(), 0u);

  driver.requests.clear();
  replies[SEND_FT1_CHARACTER] = {RC_FT1_TX_BUSY};
  f.typeChar('5');
  EXPECT_EQ(sentCharacters(), std::string(21, '5'));
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Data can not be transmitted to T1 board. Please contact Talvora technical support.");
  EXPECT_EQ(prompter.last().caption, "Set T1 Configuration");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
  EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
  EXPECT_NE(host.window("ADVANCED_FT1_CONFIG"), nullptr);
}

TEST_F(Ft1TerminalTest, EscIsSentThenTheWindowCloses) {
  fake::FakeForm& f = open();
  f.typeChar(27);
  EXPECT_EQ(sentCharacters(), "1\x1b");
  EXPECT_NE(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  host.runPosted();
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  EXPECT_TRUE(host.isMenuEnabled(kMenuAdvancedFt1));
}

TEST_F(Ft1TerminalTest, TheCloseButtonPostsTheClose) {
  fake::FakeForm& f = open();
  f.click(W::kClose);
  host.runPosted();
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  EXPECT_FALSE(host.timerRunning(f, W::kRefreshTimer));
  EXPECT_TRUE(host.isMenuEnabled(kMenuAdvancedFt1));
}

TEST_F(Ft1TerminalTest, ItOutlivesTheConnectionWithItsItemGrey) {
  fake::FakeForm& f = open();
  closeDevice();
  ASSERT_NE(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  driver.requests.clear();
  f.typeChar('1');
  fire(f);
  EXPECT_TRUE(driver.requests.empty());
  host.command(kMenuOpenDevice);
  EXPECT_FALSE(host.isMenuEnabled(kMenuAdvancedFt1));
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Configuration));
  f.closeBox();
  EXPECT_TRUE(host.isMenuEnabled(kMenuAdvancedFt1));
}

TEST_F(Ft1TerminalTest, TheMainWindowGoingDestroysIt) {
  fake::FakeForm& f = open();
  host.destroyMainWindow();
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
  EXPECT_FALSE(host.timerRunning(f, W::kRefreshTimer));
  host.runPosted();
}

}  // namespace
