#include <gtest/gtest.h>

#include <array>
#include <string>

#include "cardsim/line_rate.h"
#include "cardsim/return_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using simtest::Exchange;
using simtest::Execute;

class FirmwareTest : public simtest::SimTest {
 protected:
  FirmwareTest() : handle(open("TALVSTRM0")) {}

  std::array<uint8_t, StreamingConfig::kSize> configImage(uint32_t baud) {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    StreamingConfig config;
    config.baud_rate = baud;
    config.max_frame_size = 1500;
    config.Write(image);
    return image;
  }

  void configure(DeviceHandle& h, uint32_t baud = 9600) {
    auto image = configImage(baud);
    ASSERT_EQ(Execute(h, SET_CHDLC_CONFIGURATION, image).block.returnCode(), RC_OK);
  }

  std::unique_ptr<DeviceHandle> handle;
};

TEST_F(FirmwareTest, ConfigurationReadsBackWithTheAchievedBitRateThroughAnyHandle) {
  EXPECT_EQ(Execute(*handle, READ_CHDLC_CONFIGURATION).block.returnCode(),
            cardsim::RC_NOT_CONFIGURED);
  configure(*handle, 64000);

  auto other = open("TALVSTRM0");
  Exchange e = Execute(*other, READ_CHDLC_CONFIGURATION);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), StreamingConfig::kSize);
  EXPECT_EQ(e.returned, kCommandHeaderSize + StreamingConfig::kSize);
  auto expected = configImage(64000);
  StreamingConfig read = StreamingConfig::Read(e.block.data());
  EXPECT_EQ(read.baud_rate, cardsim::ActualBitRate(card(0).description(), 64000));
  EXPECT_NE(read.baud_rate, 64000u);  // the oscillator cannot make 64000 exactly
  EXPECT_EQ(read.max_frame_size, 1500);
  // Everything but the bit rate, reserved words included, is what was set.
  EXPECT_TRUE(std::equal(expected.begin() + 4, expected.end(), e.block.data().begin() + 4));

  // Other cards keep their own configuration.
  auto t1 = open("TALVSTRM1");
  EXPECT_EQ(Execute(*t1, READ_CHDLC_CONFIGURATION).block.returnCode(), cardsim::RC_NOT_CONFIGURED);
}

TEST(LineRateTest, SerialDividesItsClockAndFrontEndsRunAtTheLineRate) {
  struct Case {
    cardsim::FrontEnd front_end;
    uint32_t requested;
    uint32_t actual;
  };
  const Case cases[] = {
      {cardsim::FrontEnd::kNone, 9600, 9600},     {cardsim::FrontEnd::kNone, 64000, 64111},
      {cardsim::FrontEnd::kNone, 0, 0},           {cardsim::FrontEnd::kNone, 1, 1},
      {cardsim::FrontEnd::kNone, 0xFFFFFFFF, 14745600},
      {cardsim::FrontEnd::kT1, 9600, 1536000},    {cardsim::FrontEnd::kE1, 0, 1984000},
      {cardsim::FrontEnd::k56K, 64000, 56000},
  };
  for (const auto& c : cases) {
    cardsim::CardDescription description;
    description.front_end = c.front_end;
    EXPECT_EQ(cardsim::ActualBitRate(description, c.requested), c.actual) << c.requested;
  }
}

TEST_F(FirmwareTest, ShortConfigurationIsRefusedAndChangesNothing) {
  std::array<uint8_t, 20> partial{};
  EXPECT_EQ(Execute(*handle, SET_CHDLC_CONFIGURATION, partial).block.returnCode(),
            cardsim::RC_BAD_DATA_LENGTH);
  EXPECT_FALSE(card(0).withState([](auto& s) { return s.config.has_value(); }));
}

TEST_F(FirmwareTest, ACardThatStartsConfiguredAnswersAtOnce) {
  cardsim::CardDescription description;
  ASSERT_TRUE(cardsim::ParseCardLine("TALVSTRM5 pci t1 baud=1536000", &description, nullptr));
  cardsim::Simulator sim({description});
  cardsim::SimDriver drv(sim);
  auto h = drv.open("TALVSTRM5", nullptr);
  ASSERT_TRUE(h);
  Exchange e = Execute(*h, READ_CHDLC_CONFIGURATION);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  StreamingConfig c = StreamingConfig::Read(e.block.data());
  EXPECT_EQ(c.baud_rate, 1536000u);
  EXPECT_EQ(c.max_frame_size, StreamingConfig{}.max_frame_size);
  EXPECT_EQ(le::get_u16(e.block.data(), 12), 0x8000);
}

TEST_F(FirmwareTest, CodeVersionIsTheBareTextWithItsLength) {
  Exchange e = Execute(*handle, READ_CODE_VERSION);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  std::string version = card(0).description().code_version;
  ASSERT_EQ(e.block.bufferLength(), version.size());
  EXPECT_EQ(std::string(e.block.data().begin(), e.block.data().begin() + version.size()), version);
  EXPECT_EQ(e.returned, kCommandHeaderSize + version.size());
}

TEST_F(FirmwareTest, LinkStatusFollowsCommunications) {
  EXPECT_EQ(Execute(*handle, ENABLE_CHDLC_COMMUNICATIONS).block.returnCode(),
            cardsim::RC_NOT_CONFIGURED);
  struct Step {
    uint8_t command;
    uint8_t channel, receiver, queued;
  };
  configure(*handle);
  card(0).withState([](auto& s) { s.frames_queued = 7; });
  // Disabling flushes the receive queue.
  const Step steps[] = {{0, 0, 1, 7},
                        {ENABLE_CHDLC_COMMUNICATIONS, 1, 0, 7},
                        {ENABLE_CHDLC_COMMUNICATIONS, 1, 0, 7},
                        {DISABLE_CHDLC_COMMUNICATIONS, 0, 1, 0},
                        {DISABLE_CHDLC_COMMUNICATIONS, 0, 1, 0}};
  for (const auto& step : steps) {
    if (step.command != 0) {
      ASSERT_EQ(Execute(*handle, step.command).block.returnCode(), RC_OK);
    }
    Exchange e = Execute(*handle, READ_CHDLC_LINK_STATUS);
    ASSERT_EQ(e.block.returnCode(), RC_OK);
    EXPECT_EQ(e.block.bufferLength(), 3);
    EXPECT_EQ(e.block.data()[0], step.channel) << int(step.command);
    EXPECT_EQ(e.block.data()[1], step.queued) << int(step.command);
    EXPECT_EQ(e.block.data()[2], step.receiver) << int(step.command);
  }
}

TEST_F(FirmwareTest, OperationalStatsLayoutAndFlush) {
  card(0).withState([](cardsim::CardState& s) {
    s.op_stats = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x1000A, 11};
  });
  Exchange e = Execute(*handle, READ_CHDLC_OPERATIONAL_STATS);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), 56);
  const size_t offsets[] = {0, 4, 8, 12, 16, 32, 36, 40, 44, 52, 48};
  for (size_t i = 0; i < std::size(offsets); ++i)
    EXPECT_EQ(le::get_u32(e.block.data(), offsets[i]), i == 9 ? 0x1000Au : i + 1) << offsets[i];
  for (size_t gap : {20, 24, 28}) EXPECT_EQ(le::get_u32(e.block.data(), gap), 0u) << gap;

  EXPECT_EQ(Execute(*handle, FLUSH_CHDLC_OPERATIONAL_STATS).block.returnCode(), RC_OK);
  e = Execute(*handle, READ_CHDLC_OPERATIONAL_STATS);
  for (size_t off : offsets) EXPECT_EQ(le::get_u32(e.block.data(), off), 0u) << off;
}

TEST_F(FirmwareTest, CommsErrorAndGlobalStatsLayoutAndFlush) {
  card(0).withState([](cardsim::CardState& s) {
    s.comms_errors = {1, 2, 3, 4, 5, 6, 7};
    s.irq_timeouts = 0x1234;
  });
  Exchange e = Execute(*handle, READ_COMMS_ERROR_STATS);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), 20);
  const size_t offsets[] = {0, 2, 4, 6, 12, 16, 18};
  for (size_t i = 0; i < std::size(offsets); ++i)
    EXPECT_EQ(le::get_u16(e.block.data(), offsets[i]), i + 1) << offsets[i];

  Exchange g = Execute(*handle, READ_GLOBAL_STATISTICS);
  ASSERT_EQ(g.block.returnCode(), RC_OK);
  EXPECT_EQ(g.block.bufferLength(), 2);
  EXPECT_EQ(le::get_u16(g.block.data(), 0), 0x1234);

  EXPECT_EQ(Execute(*handle, FLUSH_COMMS_ERROR_STATS).block.returnCode(), RC_OK);
  e = Execute(*handle, READ_COMMS_ERROR_STATS);
  for (size_t off : offsets) EXPECT_EQ(le::get_u16(e.block.data(), off), 0) << off;
}

TEST_F(FirmwareTest, ModemSignalsLoopBack) {
  struct Case {
    uint8_t set;
    uint8_t status;
  };
  const Case cases[] = {{0, 0x00}, {1, 0x08}, {2, 0x20}, {3, 0x28}, {0xFC, 0x00}};
  for (const auto& c : cases) {
    uint8_t data[] = {c.set};
    ASSERT_EQ(Execute(*handle, SET_MODEM_STATUS, data).block.returnCode(), RC_OK);
    Exchange e = Execute(*handle, READ_MODEM_STATUS);
    ASSERT_EQ(e.block.returnCode(), RC_OK);
    EXPECT_EQ(e.block.bufferLength(), 1);
    EXPECT_EQ(e.block.data()[0], c.status) << int(c.set);
  }
  EXPECT_EQ(Execute(*handle, SET_MODEM_STATUS).block.returnCode(), cardsim::RC_BAD_DATA_LENGTH);
}

TEST_F(FirmwareTest, UnknownCommandsAnswerNonZeroWithoutData) {
  for (uint8_t command : {uint8_t{0x00}, uint8_t{0x21}, uint8_t{0x99}, uint8_t{0xFF}}) {
    Exchange e = Execute(*handle, command);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.block.returnCode(), cardsim::RC_INVALID_COMMAND) << int(command);
    EXPECT_EQ(e.block.bufferLength(), 0);
    EXPECT_EQ(e.returned, kCommandHeaderSize);
  }
}

TEST_F(FirmwareTest, ReplyHeaderKeepsTheRequestsReservedBytes) {
  CommandBlock block;
  block.prepare(READ_MODEM_STATUS);
  block.bytes()[0] = 0x5A;
  block.bytes()[9] = 0xC3;
  auto& b = block.bytes();
  ASSERT_TRUE(handle->control(IOCTL_EXEC_CMD, b.data(), 16, b.data(), kExecCmdOutputSize, nullptr));
  EXPECT_EQ(b[0], 0x5A);
  EXPECT_EQ(b[1], READ_MODEM_STATUS);
  EXPECT_EQ(b[9], 0xC3);
}

// The card writes no byte past the reply it reports, and never reports
// more than the request can carry back.
TEST_F(FirmwareTest, RepliesStayInsideTheOutputBuffer) {
  struct Case {
    uint32_t code;
    size_t out_len;
    uint8_t rc;
    uint16_t length;
  };
  const Case cases[] = {
      {IOCTL_EXEC_CMD, kExecCmdOutputSize, RC_OK, 56},
      {IOCTL_EXEC_CMD, kCommandHeaderSize + 56, RC_OK, 56},
      {IOCTL_EXEC_CMD, kCommandHeaderSize + 55, cardsim::RC_REPLY_TOO_LONG, 0},
      {IOCTL_EXEC_CMD, kCommandHeaderSize, cardsim::RC_REPLY_TOO_LONG, 0},
      {IOCTL_EXEC_CMD_2K, kCommandBlockSize, RC_OK, 56},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> in(c.code == IOCTL_EXEC_CMD ? 16 : kCommandBlockSize, 0);
    in[1] = READ_CHDLC_OPERATIONAL_STATS;
    std::vector<uint8_t> out(kCommandBlockSize + 8, 0xEE);
    uint32_t returned = 0;
    ASSERT_TRUE(handle->control(c.code, in.data(), in.size(), out.data(), c.out_len, &returned));
    EXPECT_EQ(out[4], c.rc) << c.out_len;
    EXPECT_EQ(le::get_u16(out, 2), c.length) << c.out_len;
    EXPECT_EQ(returned, kCommandHeaderSize + c.length);
    for (size_t i = returned; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << c.out_len << " " << i;
  }
  // No room even for the header: the request fails and writes nothing.
  std::array<uint8_t, 16> in{};
  in[1] = READ_MODEM_STATUS;
  std::array<uint8_t, 15> small;
  small.fill(0xEE);
  EXPECT_FALSE(handle->control(IOCTL_EXEC_CMD, in.data(), in.size(), small.data(), small.size(),
                               nullptr));
  for (uint8_t b : small) EXPECT_EQ(b, 0xEE);
}

TEST_F(FirmwareTest, DataLengthIsBoundedByWhatWasSent) {
  // buffer_length claims 48 bytes, but only 10 came in: the card sees 10.
  std::array<uint8_t, 26> in{};
  in[1] = SET_CHDLC_CONFIGURATION;
  le::put_u16(in, 2, 48);
  std::array<uint8_t, kExecCmdOutputSize> out{};
  ASSERT_TRUE(handle->control(IOCTL_EXEC_CMD, in.data(), in.size(), out.data(), out.size(), nullptr));
  EXPECT_EQ(out[4], cardsim::RC_BAD_DATA_LENGTH);

  std::array<uint8_t, 15> header_only{};
  EXPECT_FALSE(handle->control(IOCTL_EXEC_CMD, header_only.data(), header_only.size(), out.data(),
                               out.size(), nullptr));
}

TEST_F(FirmwareTest, HardwareInfoDescribesTheCard) {
  struct Case {
    const char* name;
    HardwareInfo info;
  };
  const Case cases[] = {
      {"TALVSTRM0", {HardwareInfo::kIsaCard, 0, 0, 0, 0, 0xD0000, 10, 0x360}},
      {"TALVSTRM1", {HardwareInfo::kPciCard, 0, 9, 0, 0, 0, 0, 0}},
      {"TALVSTRM2", {HardwareInfo::kPciCard, 0, 10, 1, 1, 0, 0, 0}},
      {"TALVSTRM3", {HardwareInfo::kPciCard, 0, 11, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    auto h = open(c.name);
    std::array<uint8_t, 32> out;
    out.fill(0xEE);
    uint32_t returned = 0;
    ASSERT_TRUE(h->control(IOCTL_READ_HARDWARE_INFO, nullptr, 0, out.data(), 26, &returned));
    EXPECT_EQ(returned, 26u);
    std::array<uint8_t, 26> expected{};
    c.info.Write(expected);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin())) << c.name;
    EXPECT_EQ(out[26], 0xEE);

    HardwareInfo info;
    EXPECT_TRUE(ReadHardwareInfo(h.get(), info));
    EXPECT_EQ(info.slot_number, c.info.slot_number);
  }
  std::array<uint8_t, 25> small{};
  EXPECT_FALSE(handle->control(IOCTL_READ_HARDWARE_INFO, nullptr, 0, small.data(), small.size(),
                               nullptr));
}

TEST_F(FirmwareTest, ControlCodesWithoutFirmwareFail) {
  std::array<uint8_t, kReceivedFrameSize> buffer{};
  for (uint32_t code : {IOCTL_READ_MEMORY, uint32_t{0x12345678}})
    EXPECT_FALSE(handle->control(code, buffer.data(), 16, buffer.data(), buffer.size(), nullptr))
        << std::hex << code;
}

TEST_F(FirmwareTest, OnlyPresentCardsOpen) {
  cardsim::Simulator sim({cardsim::DemoCards()[0]});
  cardsim::SimDriver drv(sim);
  for (const char* name : {"TALVSTRM1", "TALVSTRM16", "../TALVSTRM0", "", "talvstrm0"}) {
    uint32_t error = 0;
    EXPECT_FALSE(drv.open(name, &error)) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
  EXPECT_TRUE(drv.open("TALVSTRM0", nullptr));
}

}  // namespace
