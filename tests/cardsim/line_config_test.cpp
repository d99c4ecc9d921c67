#include <gtest/gtest.h>

#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using simtest::Execute;

class LineConfigTest : public simtest::SimTest {
 protected:
  uint8_t verdict(const char* card, uint8_t media) {
    auto handle = open(card);
    TECardConfig c;
    c.media_type = media;
    c.active_channels = 0x00FFFFFF;
    c.result = 0xFF;
    ConfigureTECardCommand(handle.get(), c);
    return c.result;
  }
};

TEST_F(LineConfigTest, VerdictsFollowTheFrontEndAndTheLine) {
  EXPECT_EQ(verdict("TALVSTRM1", kMediaT1), 0);
  EXPECT_EQ(verdict("TALVSTRM2", kMediaE1), 0);
  EXPECT_EQ(verdict("TALVSTRM1", kMediaE1), 3);
  EXPECT_EQ(verdict("TALVSTRM0", kMediaT1), 3);
  EXPECT_EQ(verdict("TALVSTRM3", kMediaE1), 3);
  card(2).withState([](cardsim::CardState& s) { s.comms_enabled = true; });
  EXPECT_EQ(verdict("TALVSTRM2", kMediaE1), 2);
}

TEST_F(LineConfigTest, AcceptedParametersAreKeptForEveryHandle) {
  ASSERT_EQ(verdict("TALVSTRM1", kMediaT1), 0);
  auto te = card(1).withState([](cardsim::CardState& s) { return s.te_config; });
  ASSERT_TRUE(te);
  EXPECT_EQ(te->active_channels, 0x00FFFFFFu);
  EXPECT_EQ(te->media_type, kMediaT1);
}

TEST_F(LineConfigTest, FrontEndTypePerCard) {
  for (int index : {0, 1, 2, 3}) {
    auto handle = open(("TALVSTRM" + std::to_string(index)).c_str());
    auto e = Execute(*handle, READ_FRONT_END_TYPE, {}, IOCTL_EXEC_CMD_2K);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.block.returnCode(), 0);
    EXPECT_EQ(e.block.data()[0], index);  // none, T1, E1, 56K
  }
}

TEST_F(LineConfigTest, ConfigurationValuesTheCardRefuses) {
  auto handle = open("TALVSTRM0");
  auto send = [&](StreamingConfig c) {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    c.Write(image);
    return Execute(*handle, SET_CHDLC_CONFIGURATION, image).block.returnCode();
  };
  EXPECT_EQ(send(StreamingConfig{}), 0);  // the defaults, baud rate 0 included
  StreamingConfig c;
  c.baud_rate = 64000;
  EXPECT_EQ(send(c), 0);
  const std::function<void(StreamingConfig&)> refused[] = {
      [](StreamingConfig& x) { x.baud_rate = 0xFFFFFFFF; },
      [](StreamingConfig& x) { x.baud_rate = 10'000'000; },
      [](StreamingConfig& x) { x.interface = 2; },
      [](StreamingConfig& x) { x.modem_options = 4; },
      [](StreamingConfig& x) { x.statistics_options = 0x10; },
      [](StreamingConfig& x) { x.percent_tx_buffers = 0; },
      [](StreamingConfig& x) { x.percent_tx_buffers = 100; },
      [](StreamingConfig& x) { x.max_frame_size = 0; },
      [](StreamingConfig& x) { x.max_frame_size = 20000; },
  };
  for (const auto& change : refused) {
    StreamingConfig bad;
    change(bad);
    EXPECT_NE(send(bad), 0);
  }
  // A refused configuration leaves the last good one in place.
  auto read = Execute(*handle, READ_CHDLC_CONFIGURATION);
  EXPECT_EQ(StreamingConfig::Read(read.block.data()).max_frame_size, 2000);
}

}  // namespace
