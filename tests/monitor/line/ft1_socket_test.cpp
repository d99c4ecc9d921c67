// End to end over the socket backend: the terminal window on TALVSTRM0 of
// a talvcard daemon, the user choosing from the unit's menu.

#include <stdlib.h>

#include <algorithm>
#include <thread>

#include "cardsim/daemon.h"
#include "driver_if/socket_driver.h"
#include "monitor/line/ft1_utilities.h"
#include "tests/monitor/line/ft1_sim_fixture.h"

namespace {

class Ft1SocketTest : public Ft1SimTest {
 protected:
  Ft1SocketTest() {
    char pattern[] = "/tmp/talvft1-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    daemon_ = std::make_unique<cardsim::Daemon>(simulator, dir_ + "/cards");
  }
  ~Ft1SocketTest() override {
    app.reset();
    daemon_->stop();
    if (serving_.joinable()) serving_.join();
    daemon_.reset();
    std::filesystem::remove_all(dir_);
  }
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(daemon_->start(&error)) << error;
    serving_ = std::thread([this] { daemon_->run(); });
    driver_ = std::make_unique<SocketCardDriver>(dir_ + "/cards");
    startConfigured(*driver_);
  }
  bool shows(const fake::FakeForm& f, const std::string& line) {
    auto lines = f.lines(Ft1TerminalWindow::kList);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  std::string dir_;
  std::unique_ptr<cardsim::Daemon> daemon_;
  std::thread serving_;
  std::unique_ptr<SocketCardDriver> driver_;
};

TEST_F(Ft1SocketTest, AMenuChoiceTypedInTheTerminalGetsTheUnitsAnswer) {
  host.command(kMenuAdvancedFt1);
  fake::FakeForm& f = window("ADVANCED_FT1_CONFIG");
  for (int i = 0; i < 20 && !shows(f, "Select: "); ++i) fire(f);
  ASSERT_TRUE(shows(f, "2 - Show configuration"));

  f.typeChar('2');
  for (int i = 0; i < 20 && !shows(f, "Clock:          Normal"); ++i) fire(f);
  EXPECT_TRUE(shows(f, "Select: 2"));  // the echo, after the prompt it answered
  EXPECT_TRUE(shows(f, "Framing:        ESF"));
  EXPECT_TRUE(shows(f, "Rate:           1536 kbit/s"));
  EXPECT_TRUE(shows(f, "Clock:          Normal"));
  EXPECT_EQ(prompter.count(), 0u);

  f.typeChar(27);
  host.runPosted();
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);
}

}  // namespace
