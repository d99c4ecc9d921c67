#include "cardsim/control_commands.h"

#include <gtest/gtest.h>

#include "driver_if/mailbox.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using simtest::Execute;

class ControlCommandsTest : public simtest::SimTest {
 protected:
  cardsim::CtlReply run(const char* line) {
    return cardsim::ControlCommands::Standard().run(simulator, line);
  }
};

TEST_F(ControlCommandsTest, FaultCommandsReachTheNamedCard) {
  auto h0 = open("TALVSTRM0");
  auto h3 = open("TALVSTRM3");
  ASSERT_TRUE(run("rc TALVSTRM3 0x07 0x5A 1").ok);
  EXPECT_EQ(Execute(*h0, READ_MODEM_STATUS).block.returnCode(), RC_OK);
  EXPECT_EQ(Execute(*h3, READ_MODEM_STATUS).block.returnCode(), 0x5A);
  EXPECT_EQ(Execute(*h3, READ_MODEM_STATUS).block.returnCode(), RC_OK);

  ASSERT_TRUE(run("noanswer 0 38").ok);  // by index, command in decimal, keeps the preset
  EXPECT_EQ(Execute(*h0, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_PRESET_TIMEOUT);
  ASSERT_TRUE(run("noanswer 0 0x26 7f 1").ok);
  EXPECT_EQ(Execute(*h0, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_FIRMWARE_TIMEOUT);
  EXPECT_EQ(Execute(*h0, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_OK);

  ASSERT_TRUE(run("refuse 0 0x220028 1").ok);
  EXPECT_FALSE(Execute(*h0, READ_MODEM_STATUS).ok);
  EXPECT_TRUE(Execute(*h0, READ_MODEM_STATUS).ok);

  ASSERT_TRUE(run("rc 0 0x07 0x11").ok);
  ASSERT_TRUE(run("clear TALVSTRM0").ok);
  EXPECT_EQ(Execute(*h0, READ_MODEM_STATUS).block.returnCode(), RC_OK);

  ASSERT_TRUE(run("drop 3").ok);
  EXPECT_FALSE(Execute(*h3, READ_MODEM_STATUS).ok);
  EXPECT_TRUE(Execute(*h0, READ_MODEM_STATUS).ok);
}

TEST_F(ControlCommandsTest, StateAndCards) {
  EXPECT_EQ(run("cards").text, "TALVSTRM0 TALVSTRM1 TALVSTRM2 TALVSTRM3");
  card(2).withState([](auto& s) {
    s.dtr = true;
    s.comms_enabled = true;
  });
  auto reply = run("state TALVSTRM2");
  EXPECT_TRUE(reply.ok);
  EXPECT_EQ(reply.text, "configured=0 comms=1 dtr=1 rts=0 handles=0");
  auto h = open("TALVSTRM2");
  EXPECT_EQ(run("state 2").text, "configured=0 comms=1 dtr=1 rts=0 handles=1");
  EXPECT_NE(run("help").text.find("noanswer CARD COMMAND"), std::string::npos);
}

TEST_F(ControlCommandsTest, BadCommandsAreErrorsAndChangeNothing) {
  const char* bad[] = {
      "",           "frobnicate 0",        "rc",          "rc 0",           "rc 0 0x26",
      "rc 9 0x26 1", "rc 0 0x126 1",        "rc 0 0x26 256", "rc 0 0x26 1 x", "rc TALVSTRM16 0x26 1",
      "noanswer 0 0x26 later", "delay 0 0x26", "refuse 0",  "refuse 0 zz",    "drop",
      "drop 0 1",   "clear x",             "state",       "state 12",
  };
  for (const char* line : bad) {
    auto reply = run(line);
    EXPECT_FALSE(reply.ok) << line;
    EXPECT_FALSE(reply.text.empty()) << line;
  }
  auto h = open("TALVSTRM0");
  EXPECT_EQ(Execute(*h, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_OK);
}

}  // namespace
