#include "cardsim/ft1_unit.h"

#include <gtest/gtest.h>

#include <string>

#include "cardsim/control_commands.h"
#include "cardsim/return_codes.h"
#include "driver_if/mailbox.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using cardsim::Ft1Line;
using cardsim::Ft1Unit;
using simtest::Execute;

class Ft1UnitTest : public simtest::SimTest {
 protected:
  Ft1UnitTest() : handle(open("TALVSTRM0")) {}

  uint8_t rc(uint8_t command, std::span<const uint8_t> data = {}) {
    return Execute(*handle, command, data).block.returnCode();
  }
  uint8_t send(uint8_t ch) {
    const uint8_t data[] = {ch};
    return rc(SEND_FT1_CHARACTER, data);
  }
  uint8_t setFlags(uint8_t flags) {
    const uint8_t data[] = {flags};
    return rc(SET_FT1_MONITOR_FLAGS, data);
  }
  // Every character the unit has to say, read as the terminal reads them.
  std::string drain() {
    std::string out;
    for (;;) {
      auto e = Execute(*handle, READ_FT1_CHARACTERS);
      EXPECT_EQ(e.block.returnCode(), RC_OK);
      EXPECT_LE(e.block.bufferLength(), Ft1Unit::kCharactersPerRead);
      if (e.block.bufferLength() == 0) return out;
      out.append(e.block.data().begin(), e.block.data().begin() + e.block.bufferLength());
    }
  }
  simtest::Exchange setConfiguration(const Ft1Configuration& c) {
    std::array<uint8_t, Ft1Configuration::kSize> image{};
    c.Write(image);
    return Execute(*handle, SET_FT1_CONFIGURATION, image);
  }
  cardsim::CtlReply ctl(const char* line) { return cardsim::ControlCommands::Standard().run(simulator, line); }

  std::unique_ptr<DeviceHandle> handle;
};

TEST_F(Ft1UnitTest, CardsWithoutTheUnitRefuseEveryFt1Command) {
  const uint8_t one[] = {0x01};
  for (const char* name : {"TALVSTRM1", "TALVSTRM2", "TALVSTRM3"}) {
    auto h = open(name);
    for (uint8_t command : {SET_FT1_CONFIGURATION, READ_FT1_CONFIGURATION, SEND_FT1_CHARACTER, READ_FT1_CHARACTERS,
                            SET_FT1_MONITOR_FLAGS, READ_FT1_OPERATIONAL_STATS, FT1_SELECT})
      EXPECT_EQ(Execute(*h, command, one).block.returnCode(), RC_NO_FT1_ADAPTER) << name << " " << int(command);
    EXPECT_EQ(Execute(*h, READ_FT1_STATUS, {}, IOCTL_EXEC_CMD_2K).block.returnCode(), RC_NO_FT1_ADAPTER) << name;
  }
  EXPECT_EQ(setFlags(0x01), RC_OK);
}

TEST_F(Ft1UnitTest, StatisticsComeOnlyWhileReportingIsOn) {
  EXPECT_EQ(rc(READ_FT1_OPERATIONAL_STATS), RC_FT1_STATS_OFF);
  ASSERT_EQ(setFlags(0x02), RC_OK);
  std::vector<std::string> lines;
  for (unsigned i = 0; i < 3 * Ft1Unit::kStatisticsReadsPerLine; ++i) {
    auto e = Execute(*handle, READ_FT1_OPERATIONAL_STATS);
    ASSERT_EQ(e.block.returnCode(), RC_OK);
    if (e.block.bufferLength() != 0)
      lines.emplace_back(e.block.data().begin(), e.block.data().begin() + e.block.bufferLength());
  }
  // The line is down: every second is errored, severely, unavailable, without frame.
  EXPECT_EQ(lines, (std::vector<std::string>{"\n00:01   1   0   1   1   1   0", "\n00:02   2   0   2   2   2   0",
                                             "\n00:03   3   0   3   3   3   0"}));

  // A flush empties the counters; the report starts over.
  ASSERT_EQ(setFlags(0x04), RC_OK);
  EXPECT_EQ(rc(READ_FT1_OPERATIONAL_STATS), RC_FT1_STATS_OFF);
  ASSERT_EQ(setFlags(0x02), RC_OK);
  std::string line;
  for (unsigned i = 0; i < Ft1Unit::kStatisticsReadsPerLine; ++i) {
    auto e = Execute(*handle, READ_FT1_OPERATIONAL_STATS);
    line.assign(e.block.data().begin(), e.block.data().begin() + e.block.bufferLength());
  }
  EXPECT_EQ(line.substr(0, 6), "\n00:01");

  ASSERT_TRUE(ctl("ft1 0 statsoff").ok);
  EXPECT_EQ(rc(READ_FT1_OPERATIONAL_STATS), RC_FT1_STATS_OFF);
  EXPECT_EQ(card(0).withState([](cardsim::CardState& s) { return s.ft1.monitorFlags(); }), 0x00);
}

TEST_F(Ft1UnitTest, TheStoredConfigurationIsSharedAndJudged) {
  auto e = Execute(*handle, READ_FT1_CONFIGURATION);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), Ft1Configuration::kSize);
  EXPECT_EQ(Ft1Configuration::Read(e.block.data()),
            (Ft1Configuration{.channel_base = 1, .baud_rate = 1536}));

  const Ft1Configuration good{.framing = 1, .encoding = 1, .line_build_out = 6, .channel_base = 13,
                              .baud_rate = 672, .clock_mode = 1};
  ASSERT_EQ(setConfiguration(good).block.returnCode(), RC_OK);
  auto other = open("TALVSTRM0");
  EXPECT_EQ(Ft1Configuration::Read(Execute(*other, READ_FT1_CONFIGURATION).block.data()), good);

  struct Case {
    Ft1Configuration c;
    uint8_t rc;
    uint16_t offset;
  };
  const Case cases[] = {
      {{.framing = 2, .channel_base = 1, .baud_rate = 64}, RC_FT1_BAD_CONFIGURATION, 0},
      {{.encoding = 3, .channel_base = 1, .baud_rate = 64}, RC_FT1_BAD_CONFIGURATION, 2},
      {{.line_build_out = 8, .channel_base = 1, .baud_rate = 64}, RC_FT1_BAD_CONFIGURATION, 4},
      {{.channel_base = 1, .baud_rate = 64, .clock_mode = 2}, RC_FT1_BAD_CONFIGURATION, 10},
      {{.channel_base = 1, .baud_rate = 0}, RC_FT1_BAD_BAUD_RATE, 0},
      {{.channel_base = 1, .baud_rate = 100}, RC_FT1_BAD_BAUD_RATE, 0},
      {{.channel_base = 1, .baud_rate = 1600}, RC_FT1_BAD_BAUD_RATE, 0},
      {{.encoding = 1, .channel_base = 1, .baud_rate = 64}, RC_FT1_BAD_BAUD_RATE, 0},
      {{.encoding = 1, .channel_base = 1, .baud_rate = 1344}, RC_OK, 0},
      {{.channel_base = 0, .baud_rate = 64}, RC_FT1_BAD_CHANNEL_BASE, 0},
      {{.channel_base = 24, .baud_rate = 128}, RC_FT1_BAD_CHANNEL_BASE, 0},
      {{.channel_base = 23, .baud_rate = 128}, RC_OK, 0},
      {{.channel_base = 65535, .baud_rate = 65535}, RC_FT1_BAD_BAUD_RATE, 0},
  };
  for (const Case& c : cases) {
    auto r = setConfiguration(c.c);
    EXPECT_EQ(r.block.returnCode(), c.rc) << c.c.channel_base << " " << c.c.baud_rate;
    if (c.rc == RC_FT1_BAD_CONFIGURATION) {
      EXPECT_EQ(r.block.bufferLength(), c.offset);
    }
  }
  const uint8_t short_record[4] = {};
  EXPECT_EQ(rc(SET_FT1_CONFIGURATION, short_record), cardsim::RC_BAD_DATA_LENGTH);

  // While the unit reports statistics it cannot read its configuration out.
  ASSERT_EQ(setFlags(0x02), RC_OK);
  EXPECT_EQ(rc(READ_FT1_CONFIGURATION), RC_FT1_BAD_CONFIGURATION);
}

TEST_F(Ft1UnitTest, TheCharacterMenuAnswersInLinesEndedByCrLf) {
  ASSERT_EQ(send('1'), RC_OK);
  std::string menu = drain();
  EXPECT_EQ(menu.substr(0, 22), "TALVORA FT-1 CSU/DSU\r\n");
  EXPECT_NE(menu.find("2 - Show configuration\r\n"), std::string::npos);
  EXPECT_EQ(menu.substr(menu.size() - 8), "Select: ");

  send('2');
  std::string config = drain();
  EXPECT_EQ(config.substr(0, 3), "2\r\n");  // the choice is echoed
  EXPECT_NE(config.find("Framing:        ESF\r\n"), std::string::npos);
  EXPECT_NE(config.find("Rate:           1536 kbit/s\r\n"), std::string::npos);

  send('4');
  drain();
  send('x');  // not a build-out: ignored
  send('6');
  EXPECT_EQ(drain(), "6\r\nLine build out set to CSU -15 dB\r\nSelect: ");
  EXPECT_EQ(card(0).withState([](cardsim::CardState& s) { return s.ft1.configuration().line_build_out; }), 6);

  send('9');
  EXPECT_EQ(drain(), "9\r\nInvalid selection\r\nSelect: ");
  send(27);
  EXPECT_EQ(drain(), "\r\nConfiguration menu closed.\r\n");
  send('1');
  EXPECT_EQ(drain().substr(0, 7), "TALVORA");  // no echo before a prompt
}

TEST_F(Ft1UnitTest, ABusyTransmitBufferRefusesAScriptedNumberOfSends) {
  ASSERT_TRUE(ctl("ft1 TALVSTRM0 busy 3").ok);
  EXPECT_EQ(send('1'), RC_FT1_TX_BUSY);
  EXPECT_EQ(send('1'), RC_FT1_TX_BUSY);
  EXPECT_EQ(send('1'), RC_FT1_TX_BUSY);
  EXPECT_EQ(drain(), "");  // refused characters never reached the unit
  EXPECT_EQ(send('1'), RC_OK);
  EXPECT_FALSE(drain().empty());
}

TEST_F(Ft1UnitTest, ScriptedStatusBytesComeFirstThenTheUnitsOwn) {
  ASSERT_TRUE(ctl("ft1 0 status 0xF1 0x02 0xFF 0xEF").ok);
  auto status = [&] {
    auto e = Execute(*handle, READ_FT1_STATUS, {}, IOCTL_EXEC_CMD_2K);
    EXPECT_EQ(e.block.returnCode(), RC_OK);
    EXPECT_EQ(e.block.bufferLength(), 2);
    return cardsim::Ft1StatusBytes(e.block.data()[0], e.block.data()[1]);
  };
  EXPECT_EQ(status(), (cardsim::Ft1StatusBytes(0xF1, 0x02)));
  EXPECT_EQ(status(), (cardsim::Ft1StatusBytes(0xFF, 0xEF)));
  // The unit's own: line down, INS flashing red with ERR steady red.
  EXPECT_EQ(status(), (cardsim::Ft1StatusBytes(0xFF, 0xE7)));
}

TEST_F(Ft1UnitTest, SelectStepsThroughTheTestModesAndBack) {
  using M = cardsim::Ft1TestMode;
  const M order[] = {M::kSelfTest, M::kDigitalLoop, M::kLineLoop, M::kRemoteTest, M::kNormal};
  for (M expected : order) {
    ASSERT_EQ(rc(FT1_SELECT), RC_OK);
    EXPECT_EQ(card(0).withState([](cardsim::CardState& s) { return s.ft1.mode(); }), expected);
  }
}

TEST_F(Ft1UnitTest, TheLineComesUpWhileWatchedUnlessSetOtherwise) {
  for (unsigned i = 0; i < Ft1Unit::kLineSyncReads; ++i) Execute(*handle, READ_FT1_STATUS, {}, IOCTL_EXEC_CMD_2K);
  EXPECT_EQ(card(0).withState([](cardsim::CardState& s) { return s.ft1.line(); }), Ft1Line::kUp);
  ASSERT_TRUE(ctl("ft1 0 line down").ok);
  for (unsigned i = 0; i < 2 * Ft1Unit::kLineSyncReads; ++i) Execute(*handle, READ_FT1_STATUS, {}, IOCTL_EXEC_CMD_2K);
  EXPECT_EQ(card(0).withState([](cardsim::CardState& s) { return s.ft1.line(); }), Ft1Line::kDown);
}

TEST_F(Ft1UnitTest, ControlCommandsCheckTheirWords) {
  EXPECT_TRUE(ctl("ft1 0 line remote").ok);
  EXPECT_NE(ctl("ft1 0 show").text.find("line=remote"), std::string::npos);
  EXPECT_EQ(ctl("ft1 1 line up").text, "no FT1 unit");
  EXPECT_FALSE(ctl("ft1 0 line sideways").ok);
  EXPECT_FALSE(ctl("ft1 0 busy many").ok);
  EXPECT_FALSE(ctl("ft1 0 status 0x01").ok);
  EXPECT_FALSE(ctl("ft1 0 status 0x100 0").ok);
  EXPECT_FALSE(ctl("ft1 0 dance").ok);
  EXPECT_FALSE(ctl("ft1 9 show").ok);
  // Any return code for any FT1 command, from the fault commands.
  ASSERT_TRUE(ctl("rc 0 0x1e 0xcd 1").ok);
  EXPECT_EQ(rc(FT1_SELECT), RC_REMOTE_DRIVER);
  EXPECT_EQ(rc(FT1_SELECT), RC_OK);
}

}  // namespace
