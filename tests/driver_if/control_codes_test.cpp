// The seven device control requests as the driver receives them: code and
// buffer sizes checked against values written out from the driver's
// interface, not against the constants the code uses.

#include <gtest/gtest.h>

#include <cstdint>

#include "driver_if/execute.h"
#include "driver_if/mailbox.h"
#include "driver_if/requests.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/scripted_driver.h"

namespace {

struct Expected {
  uint32_t code;
  uint32_t function;
  uint32_t method;  // 0 buffered, 1 in-direct, 2 out-direct
  size_t in_len;
  size_t out_len;
};

// The request code packs device type 0x22, any access, the function and the transfer method.
constexpr uint32_t Pack(uint32_t function, uint32_t method) { return (0x22u << 16) | (function << 2) | method; }

void ExpectRequest(const fake::Request& sent, const Expected& e, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(e.code, Pack(e.function, e.method));
  EXPECT_EQ(sent.code, e.code);
  EXPECT_EQ(sent.in.size(), e.in_len);
  EXPECT_EQ(sent.out_len, e.out_len);
}

class ControlCodesTest : public ::testing::Test {
 protected:
  ControlCodesTest() : exec(prompter) {
    handle = driver.open("TALVSTRM0", nullptr);
    exec.setHandle(handle.get());
  }
  const fake::Request& last() const { return driver.requests.back(); }

  fake::FakePrompter prompter;
  fake::ScriptedDriver driver;
  std::unique_ptr<DeviceHandle> handle;
  CommandExecutor exec;
};

TEST_F(ControlCodesTest, EachRequestGoesOutWithItsCodeAndBufferSizes) {
  const uint8_t config[3] = {1, 2, 3};
  exec.block().prepare(SET_MODEM_STATUS, config);
  exec.ExecuteCommand();
  ExpectRequest(last(), {0x220028, 0x00A, 0, 16 + 3, 1016}, "IOCTL_EXEC_CMD");

  exec.block().prepare(READ_FT1_STATUS);
  exec.ExecuteCommand2K();
  ExpectRequest(last(), {0x22003C, 0x00F, 0, 2048, 2048}, "IOCTL_EXEC_CMD_2K");

  TECardConfig te;
  ConfigureTECardCommand(handle.get(), te);
  ExpectRequest(last(), {0x220038, 0x00E, 0, 16, 16}, "IOCTL_TE_CONFIG");

  auto send = std::make_unique<SendFrameBuffer>();
  SendFrame(handle.get(), *send);
  ExpectRequest(last(), {0x22002E, 0x00B, 2, 15358, 15358}, "IOCTL_SEND_FRAME");

  auto frame = std::make_unique<ReceivedFrame>();
  ReceiveFrame(handle.get(), *frame);
  ExpectRequest(last(), {0x220031, 0x00C, 1, 0, 14000}, "IOCTL_RECEIVE_FRAME");

  auto memory = std::make_unique<MemoryReadRequest>();
  ReadMemory(handle.get(), *memory);
  ExpectRequest(last(), {0x220040, 0x010, 0, 2012, 2012}, "IOCTL_READ_MEMORY");

  HardwareInfo info;
  ReadHardwareInfo(handle.get(), info);
  ExpectRequest(last(), {0x220034, 0x00D, 0, 0, 26}, "IOCTL_READ_HARDWARE_INFO");
  EXPECT_EQ(driver.requests.size(), 7u);
}

// Written out from the firmware's command list.
TEST(MailboxVocabularyTest, CommandAndReturnCodes) {
  const std::pair<uint8_t, uint8_t> commands[] = {
      {READ_GLOBAL_STATISTICS, 0x04},       {SET_MODEM_STATUS, 0x06},
      {READ_MODEM_STATUS, 0x07},            {READ_COMMS_ERROR_STATS, 0x08},
      {FLUSH_COMMS_ERROR_STATS, 0x09},      {READ_CODE_VERSION, 0x20},
      {SET_CHDLC_CONFIGURATION, 0x22},      {READ_CHDLC_CONFIGURATION, 0x23},
      {ENABLE_CHDLC_COMMUNICATIONS, 0x24},  {DISABLE_CHDLC_COMMUNICATIONS, 0x25},
      {READ_CHDLC_LINK_STATUS, 0x26},       {READ_CHDLC_OPERATIONAL_STATS, 0x27},
      {FLUSH_CHDLC_OPERATIONAL_STATS, 0x28}, {SET_FT1_CONFIGURATION, 0x18},
      {READ_FT1_CONFIGURATION, 0x19},       {SEND_FT1_CHARACTER, 0x1A},
      {READ_FT1_CHARACTERS, 0x1B},          {SET_FT1_MONITOR_FLAGS, 0x1C},
      {READ_FT1_OPERATIONAL_STATS, 0x1D},   {FT1_SELECT, 0x1E},
      {READ_FT1_STATUS, 0x54},              {READ_FRONT_END_ALARMS, 0x62},
      {READ_FRONT_END_TYPE, 0x63},          {FLUSH_FRONT_END_COUNTERS, 0x64},
      {READ_FRONT_END_REGISTER, 0x65},      {ACTIVATE_LINELB_MODE, 0xA0},
      {DEACTIVATE_LINELB_MODE, 0xA1},       {ACTIVATE_PAYLB_MODE, 0xA2},
      {DEACTIVATE_PAYLB_MODE, 0xA3},        {ACTIVATE_DDLB_MODE, 0xA4},
      {DEACTIVATE_DDLB_MODE, 0xA5},         {ACTIVATE_LB_MODE, 0xA6},
      {DEACTIVATE_LB_MODE, 0xA7},
  };
  for (const auto& [code, expected] : commands) EXPECT_EQ(code, expected);
  const std::pair<uint8_t, uint8_t> return_codes[] = {
      {RC_NO_FT1_ADAPTER, 0x06},     {RC_FT1_STATS_OFF, 0x07},        {RC_FT1_BAD_BAUD_RATE, 0x08},
      {RC_FT1_BAD_CONFIGURATION, 0x09}, {RC_FT1_BAD_CHANNEL_BASE, 0x0A}, {RC_FT1_TX_BUSY, 0x0B},
      {RC_REMOTE_DRIVER, 0xCD},
  };
  for (const auto& [code, expected] : return_codes) EXPECT_EQ(code, expected);
}

}  // namespace
