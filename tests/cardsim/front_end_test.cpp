#include "cardsim/front_end.h"

#include <gtest/gtest.h>

#include "cardsim/control_commands.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using simtest::Execute;

constexpr const char* kT1 = "TALVSTRM1";
constexpr const char* kE1 = "TALVSTRM2";
constexpr const char* k56K = "TALVSTRM3";

class FrontEndTest : public simtest::SimTest {
 protected:
  simtest::Exchange send(const char* name, uint8_t command, std::vector<uint8_t> data = {}) {
    auto handle = open(name);
    return Execute(*handle, command, data, IOCTL_EXEC_CMD_2K);
  }
  cardsim::CtlReply run(const std::string& line) {
    return cardsim::ControlCommands::Standard().run(simulator, line);
  }
  cardsim::FrontEndState frontEnd(int index) {
    return card(index).withState([](const cardsim::CardState& s) { return s.front_end; });
  }
};

TEST_F(FrontEndTest, TeAlarmsAndCountersComeBackAsSet) {
  for (int index : {1, 2}) {
    card(index).withState([](cardsim::CardState& s) {
      s.front_end.alarms = 0x0438;
      s.front_end.counters = {1, 0x80000000, 0xFFFFFFFF, 42};
    });
    auto e = send(index == 1 ? kT1 : kE1, READ_FRONT_END_ALARMS);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.block.returnCode(), RC_OK);
    EXPECT_EQ(e.block.bufferLength(), 20);
    EXPECT_EQ(le::get_u16(e.block.data(), 0), 0x0438);
    EXPECT_EQ(le::get_u32(e.block.data(), 4), 1u);
    EXPECT_EQ(le::get_u32(e.block.data(), 8), 0x80000000u);
    EXPECT_EQ(le::get_u32(e.block.data(), 12), 0xFFFFFFFFu);
    EXPECT_EQ(le::get_u32(e.block.data(), 16), 42u);
  }
}

TEST_F(FrontEndTest, CountersMoveOnlyWhileTheLineRuns) {
  auto handle = open(kT1);
  auto counters = [&] {
    auto e = Execute(*handle, READ_FRONT_END_ALARMS, {}, IOCTL_EXEC_CMD_2K);
    return std::array<uint32_t, 4>{le::get_u32(e.block.data(), 4), le::get_u32(e.block.data(), 8),
                                   le::get_u32(e.block.data(), 12), le::get_u32(e.block.data(), 16)};
  };
  EXPECT_EQ(counters(), (std::array<uint32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(counters(), (std::array<uint32_t, 4>{0, 0, 0, 0}));
  card(1).withState([](cardsim::CardState& s) { s.comms_enabled = true; });
  EXPECT_EQ(counters(), (std::array<uint32_t, 4>{0, 0, 0, 1}));
  card(1).withState([](cardsim::CardState& s) {
    s.front_end.alarms = cardsim::kAlarmRed;
    s.front_end.counters[cardsim::kBitErrors] = 0xFFFFFFFE;
  });
  // Wraps like the card's 32-bit counter.
  EXPECT_EQ(counters(), (std::array<uint32_t, 4>{2, 1, 3, 2}));
}

TEST_F(FrontEndTest, FlushClearsTheCounters) {
  card(2).withState([](cardsim::CardState& s) { s.front_end.counters = {5, 6, 7, 8}; });
  EXPECT_EQ(send(kE1, FLUSH_FRONT_END_COUNTERS).block.returnCode(), RC_OK);
  EXPECT_EQ(frontEnd(2).counters, (std::array<uint32_t, 4>{}));
}

TEST_F(FrontEndTest, The56KUnitReportsItsStatusWord) {
  auto e = send(k56K, READ_FRONT_END_ALARMS, {0, 0});
  EXPECT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), 2);
  EXPECT_EQ(le::get_u16(e.block.data(), 0), cardsim::k56KHealthyStatus);
  ASSERT_TRUE(run("status56k 3 0x8300").ok);
  EXPECT_EQ(le::get_u16(send(k56K, READ_FRONT_END_ALARMS, {0, 0}).block.data(), 0), 0x8300);
}

TEST_F(FrontEndTest, LoopbackModesSwitchAndShow) {
  const std::pair<uint8_t, uint8_t> modes[] = {{ACTIVATE_LINELB_MODE, DEACTIVATE_LINELB_MODE},
                                               {ACTIVATE_PAYLB_MODE, DEACTIVATE_PAYLB_MODE},
                                               {ACTIVATE_DDLB_MODE, DEACTIVATE_DDLB_MODE},
                                               {ACTIVATE_LB_MODE, DEACTIVATE_LB_MODE}};
  auto flags = [&] {
    auto fe = frontEnd(1);
    return std::array<bool, 4>{fe.line_loopback, fe.payload_loopback, fe.digital_loopback, fe.loopback_signal};
  };
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(send(kT1, modes[i].first).block.returnCode(), RC_OK);
    std::array<bool, 4> expected{};
    expected[i] = true;
    EXPECT_EQ(flags(), expected) << i;
    EXPECT_EQ(send(kT1, READ_FRONT_END_REGISTER, {0x03}).block.data()[0], 1 << i);
    EXPECT_EQ(send(kT1, modes[i].second).block.returnCode(), RC_OK);
    EXPECT_EQ(flags(), (std::array<bool, 4>{}));
  }
  send(kT1, ACTIVATE_LINELB_MODE);
  send(kT1, ACTIVATE_LB_MODE);
  EXPECT_TRUE(cardsim::LineLoopsBack(card(1).withState([](const cardsim::CardState& s) { return s; })));
  EXPECT_EQ(run("frontend TALVSTRM1").text,
            "alarms=0x0000 counters=0,0,0,0 linelb=1 paylb=0 ddlb=0 lbsignal=1");
  // Kept per card, not per handle.
  EXPECT_FALSE(frontEnd(2).line_loopback);
}

TEST_F(FrontEndTest, RegistersReflectTheFrontEnd) {
  card(1).withState([](cardsim::CardState& s) {
    s.front_end.alarms = 0x0418;
    s.front_end.counters = {0x04030201, 0, 0, 0xDDCCBBAA};
  });
  auto reg = [&](const char* name, uint8_t r) {
    auto e = send(name, READ_FRONT_END_REGISTER, {r});
    EXPECT_EQ(e.block.returnCode(), RC_OK);
    return e.block.data()[0];
  };
  EXPECT_EQ(reg(kT1, 0x00), 1);
  EXPECT_EQ(reg(kT1, 0x01), 0x18);
  EXPECT_EQ(reg(kT1, 0x02), 0x04);
  EXPECT_EQ(reg(kT1, 0x04), 0x01);
  EXPECT_EQ(reg(kT1, 0x07), 0x04);
  EXPECT_EQ(reg(kT1, 0x13), 0xDD);
  EXPECT_EQ(reg(kT1, 0xFF), 0);
  EXPECT_EQ(reg(kE1, 0x00), 2);
  EXPECT_EQ(reg(k56K, 0x00), 3);
  EXPECT_EQ(reg(k56K, 0x02), 0x0C);
  EXPECT_NE(send(kT1, READ_FRONT_END_REGISTER).block.returnCode(), RC_OK);  // no register number
}

TEST_F(FrontEndTest, CardsWithoutTheFrontEndRefuseItsCommands) {
  const uint8_t te_only[] = {READ_FRONT_END_ALARMS, FLUSH_FRONT_END_COUNTERS, READ_FRONT_END_REGISTER,
                             ACTIVATE_LINELB_MODE, DEACTIVATE_LINELB_MODE, ACTIVATE_PAYLB_MODE,
                             DEACTIVATE_PAYLB_MODE, ACTIVATE_DDLB_MODE, DEACTIVATE_DDLB_MODE,
                             ACTIVATE_LB_MODE, DEACTIVATE_LB_MODE};
  for (uint8_t command : te_only) {
    auto e = send("TALVSTRM0", command, {1});
    EXPECT_TRUE(e.ok);
    EXPECT_NE(e.block.returnCode(), RC_OK) << std::hex << int(command);
    if (command != READ_FRONT_END_ALARMS && command != READ_FRONT_END_REGISTER) {
      EXPECT_NE(send(k56K, command).block.returnCode(), RC_OK) << std::hex << int(command);
    }
  }
  EXPECT_FALSE(frontEnd(3).line_loopback);
}

TEST_F(FrontEndTest, ControlCommandsSetAlarmsAndCounters) {
  ASSERT_TRUE(run("alarm TALVSTRM1 red on").ok);
  ASSERT_TRUE(run("alarm 1 oof on").ok);
  EXPECT_EQ(frontEnd(1).alarms, 0x0018);
  ASSERT_TRUE(run("alarm 1 red off").ok);
  ASSERT_TRUE(run("alarm 2 yel on").ok);
  EXPECT_EQ(frontEnd(1).alarms, 0x0008);
  EXPECT_EQ(frontEnd(2).alarms, 0x0400);
  ASSERT_TRUE(run("alarms 1 0xFFFF").ok);
  EXPECT_EQ(frontEnd(1).alarms, 0xFFFF);
  ASSERT_TRUE(run("counter 1 3 0xFFFFFFFF").ok);
  ASSERT_TRUE(run("counter 1 0 7").ok);
  EXPECT_EQ(frontEnd(1).counters, (std::array<uint32_t, 4>{7, 0, 0, 0xFFFFFFFF}));
  EXPECT_EQ(run("frontend 3").text, "status=0x0C00");

  for (const char* bad : {"alarm 0 red on", "alarm 3 red on", "alarm 1 pink on", "alarm 1 red",
                          "alarms 1 0x10000", "counter 1 4 1", "counter 2 0 0x100000000",
                          "status56k 1 0", "frontend 0", "alarm 9 red on"})
    EXPECT_FALSE(run(bad).ok) << bad;
}

}  // namespace
