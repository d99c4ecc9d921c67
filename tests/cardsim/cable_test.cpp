// Where a sent frame goes: cables, loop-back plugs and loop-back modes.

#include "cardsim/cable.h"

#include <gtest/gtest.h>

#include "cardsim/control_commands.h"
#include "tests/cardsim/frame_fixture.h"

namespace {

using simtest::ConfigureAndEnable;
using simtest::Send;

class CableTest : public simtest::SimTest {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      handles.push_back(open(("TALVSTRM" + std::to_string(i)).c_str()));
      ConfigureAndEnable(*handles.back());
    }
  }
  // The frames waiting on each of the three cards.
  std::vector<size_t> queued() {
    std::vector<size_t> n;
    for (int i = 0; i < 3; ++i)
      n.push_back(card(i).withState([](cardsim::CardState& s) { return s.frame_path.queue.size(); }));
    return n;
  }
  uint32_t sent(int i) {
    return card(i).withState([](cardsim::CardState& s) { return s.op_stats.tx_frames; });
  }
  cardsim::CtlReply ctl(const std::string& line) { return cardsim::ControlCommands::Standard().run(simulator, line); }
  void sendFrom(int i) { ASSERT_EQ(Send(*handles[i], {0x0F, 0x00, 0x08, 0x00}), 0); }

  std::vector<std::unique_ptr<DeviceHandle>> handles;
};

TEST_F(CableTest, DemoPlugLoopsCardZeroAndTheOthersSendIntoSilence) {
  sendFrom(0);
  sendFrom(1);
  sendFrom(2);
  EXPECT_EQ(queued(), (std::vector<size_t>{1, 0, 0}));
  EXPECT_EQ(sent(1), 1u);
  EXPECT_EQ(sent(2), 1u);
  ASSERT_TRUE(ctl("unwire TALVSTRM0").ok);
  sendFrom(0);
  EXPECT_EQ(queued(), (std::vector<size_t>{1, 0, 0}));
  EXPECT_EQ(sent(0), 2u);
}

TEST_F(CableTest, ACableCarriesEachWayAndRewiringUnplugsTheOldEnd) {
  ASSERT_TRUE(ctl("wire TALVSTRM1 2").ok);
  EXPECT_NE(ctl("state 1").text.find(" wired=TALVSTRM2"), std::string::npos);
  sendFrom(1);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 0, 1}));
  sendFrom(2);
  sendFrom(2);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 2, 1}));

  // Card 0 takes card 2's connector: card 1 hangs free, card 0 loses its plug.
  ASSERT_TRUE(ctl("wire 0 2").ok);
  EXPECT_EQ(cardsim::CableEnd(card(1)), nullptr);
  EXPECT_EQ(ctl("state 1").text.find("wired="), std::string::npos);
  sendFrom(1);
  sendFrom(0);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 2, 2}));

  ASSERT_TRUE(ctl("unwire 2").ok);
  EXPECT_EQ(cardsim::CableEnd(card(0)), nullptr);
  EXPECT_FALSE(ctl("wire 0").ok);
  EXPECT_FALSE(ctl("wire 0 TALVSTRM9").ok);
}

TEST_F(CableTest, LoopBackModesTurnFramesAround) {
  ASSERT_TRUE(ctl("wire 1 2").ok);
  // Line loop-back returns the card's own frames, cable or not.
  card(1).withState([](cardsim::CardState& s) { s.front_end.line_loopback = true; });
  sendFrom(1);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 1, 0}));
  card(1).withState([](cardsim::CardState& s) { s.front_end.line_loopback = false; });
  // Payload loop-back at the far end sends the frame back where it came from.
  card(2).withState([](cardsim::CardState& s) { s.front_end.payload_loopback = true; });
  sendFrom(1);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 2, 0}));
}

TEST_F(CableTest, AFarEndWithItsLineDisabledTakesNothing) {
  ASSERT_TRUE(ctl("wire 1 2").ok);
  simtest::Disable(*handles[2]);
  sendFrom(1);
  EXPECT_EQ(queued(), (std::vector<size_t>{0, 0, 0}));
  EXPECT_EQ(sent(1), 1u);
}

}  // namespace
