#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cardsim/return_codes.h"
#include "driver_if/execute.h"
#include "driver_if/mailbox.h"
#include "driver_if/requests.h"
#include "tests/cardsim/sim_fixture.h"
#include "tests/support/fake_prompter.h"

namespace {

using namespace std::chrono_literals;
using simtest::Exchange;
using simtest::Execute;

class FaultsTest : public simtest::SimTest {
 protected:
  FaultsTest() : handle(open("TALVSTRM1")) {}
  cardsim::Faults& faults() { return card(1).faults(); }
  std::unique_ptr<DeviceHandle> handle;
};

TEST_F(FaultsTest, UnansweredCommandKeepsThePresetOrTimesOut) {
  faults().leaveUnanswered(READ_MODEM_STATUS, cardsim::NoAnswer::kKeepPreset, 1);
  Exchange e = Execute(*handle, READ_MODEM_STATUS);
  EXPECT_TRUE(e.ok);
  EXPECT_EQ(e.returned, 0u);
  EXPECT_EQ(e.block.returnCode(), RC_PRESET_TIMEOUT);

  faults().leaveUnanswered(READ_MODEM_STATUS, cardsim::NoAnswer::kFirmwareTimeout, 1);
  e = Execute(*handle, READ_MODEM_STATUS);
  EXPECT_EQ(e.block.returnCode(), RC_FIRMWARE_TIMEOUT);
  EXPECT_EQ(e.block.bufferLength(), 0);

  // Both were one-shot; other commands were never affected.
  EXPECT_EQ(Execute(*handle, READ_MODEM_STATUS).block.returnCode(), RC_OK);
}

TEST_F(FaultsTest, ForcedReturnCodeHoldsForItsCountAndSkipsTheCommand) {
  uint8_t dtr[] = {1};
  faults().forceReturnCode(SET_MODEM_STATUS, 0x0A, 2);
  EXPECT_EQ(Execute(*handle, SET_MODEM_STATUS, dtr).block.returnCode(), 0x0A);
  EXPECT_EQ(Execute(*handle, READ_MODEM_STATUS).block.returnCode(), RC_OK);
  EXPECT_EQ(Execute(*handle, SET_MODEM_STATUS, dtr).block.returnCode(), 0x0A);
  EXPECT_FALSE(card(1).withState([](auto& s) { return s.dtr; }));
  EXPECT_EQ(Execute(*handle, SET_MODEM_STATUS, dtr).block.returnCode(), RC_OK);
  EXPECT_TRUE(card(1).withState([](auto& s) { return s.dtr; }));
}

TEST_F(FaultsTest, RulesHoldForGoodUntilClearedOrReplaced) {
  faults().forceReturnCode(READ_CODE_VERSION, 0x33);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Execute(*handle, READ_CODE_VERSION).block.returnCode(), 0x33);
  faults().forceReturnCode(READ_CODE_VERSION, 0x44, 1);
  EXPECT_EQ(Execute(*handle, READ_CODE_VERSION).block.returnCode(), 0x44);
  EXPECT_EQ(Execute(*handle, READ_CODE_VERSION).block.returnCode(), RC_OK);

  faults().forceReturnCode(READ_CODE_VERSION, 0x33);
  faults().refuseRequest(IOCTL_EXEC_CMD);
  faults().clear();
  EXPECT_EQ(Execute(*handle, READ_CODE_VERSION).block.returnCode(), RC_OK);
  faults().forceReturnCode(READ_CODE_VERSION, 0x33);
  faults().forceReturnCode(READ_CODE_VERSION, 0x33, 0);
  EXPECT_EQ(Execute(*handle, READ_CODE_VERSION).block.returnCode(), RC_OK);
}

TEST_F(FaultsTest, RefusedRequestFailsPerControlCode) {
  faults().refuseRequest(IOCTL_EXEC_CMD, 1);
  Exchange e = Execute(*handle, READ_MODEM_STATUS);
  EXPECT_FALSE(e.ok);
  EXPECT_EQ(e.block.returnCode(), RC_PRESET_TIMEOUT);
  EXPECT_TRUE(Execute(*handle, READ_MODEM_STATUS, {}, IOCTL_EXEC_CMD_2K).ok);
  EXPECT_TRUE(Execute(*handle, READ_MODEM_STATUS).ok);

  faults().refuseRequest(IOCTL_READ_HARDWARE_INFO);
  HardwareInfo info;
  EXPECT_FALSE(ReadHardwareInfo(handle.get(), info));
  EXPECT_EQ(info.card_type, 0);
}

TEST_F(FaultsTest, FaultsBelongToOneCard) {
  faults().forceReturnCode(READ_MODEM_STATUS, 0x22);
  auto other = open("TALVSTRM2");
  EXPECT_EQ(Execute(*other, READ_MODEM_STATUS).block.returnCode(), RC_OK);
  EXPECT_EQ(Execute(*handle, READ_MODEM_STATUS).block.returnCode(), 0x22);
}

// The monitor's retry rule sees both kinds of missing answer as timeouts.
TEST_F(FaultsTest, ExecuteWithRetryOutlastsOneUnansweredCommand) {
  fake::FakePrompter prompter;
  prompter.answer(ui::Answer::Retry);
  CommandExecutor exec(prompter);
  exec.setHandle(handle.get());
  faults().leaveUnanswered(READ_CODE_VERSION, cardsim::NoAnswer::kFirmwareTimeout, 1);
  exec.block().prepare(READ_CODE_VERSION);
  EXPECT_TRUE(exec.ExecuteCommandWithRetry());
  EXPECT_EQ(prompter.count(), 1u);

  faults().leaveUnanswered(READ_CODE_VERSION, cardsim::NoAnswer::kKeepPreset, 1);
  exec.block().prepare(READ_CODE_VERSION);
  EXPECT_EQ(exec.ExecuteCommand(), RC_PRESET_TIMEOUT);
}

TEST_F(FaultsTest, DelayedReplyArrivesLateAndCancelReleasesIt) {
  faults().delayReply(READ_MODEM_STATUS, 60ms, 1);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Execute(*handle, READ_MODEM_STATUS).block.returnCode(), RC_OK);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);

  faults().delayReply(READ_MODEM_STATUS, 60s);
  bool ok = true;
  std::thread waiter([&] { ok = Execute(*handle, READ_MODEM_STATUS).ok; });
  std::this_thread::sleep_for(20ms);
  start = std::chrono::steady_clock::now();
  handle->cancel();
  waiter.join();
  EXPECT_FALSE(ok);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  // A cancelled handle stays dead; another handle on the card is not affected.
  faults().clear();
  EXPECT_FALSE(Execute(*handle, READ_MODEM_STATUS).ok);
  EXPECT_TRUE(Execute(*open("TALVSTRM1"), READ_MODEM_STATUS).ok);
}

TEST_F(FaultsTest, DroppedConnectionsFailEveryOpenHandleOfTheCard) {
  auto second = open("TALVSTRM1");
  auto elsewhere = open("TALVSTRM2");
  faults().delayReply(READ_MODEM_STATUS, 60s, 1);
  bool pending_ok = true;
  std::thread waiter([&] { pending_ok = Execute(*second, READ_MODEM_STATUS).ok; });
  std::this_thread::sleep_for(20ms);
  card(1).dropConnections();
  waiter.join();
  EXPECT_FALSE(pending_ok);
  EXPECT_FALSE(Execute(*handle, READ_MODEM_STATUS).ok);
  EXPECT_TRUE(Execute(*elsewhere, READ_MODEM_STATUS).ok);
  EXPECT_TRUE(Execute(*open("TALVSTRM1"), READ_MODEM_STATUS).ok);
}

}  // namespace
