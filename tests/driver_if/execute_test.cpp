#include "driver_if/execute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/scripted_driver.h"

namespace {

struct RecordingDisplay : CommandDisplay {
  std::string last_command, return_code, status, result;
  std::vector<std::string> statuses;
  void showLastCommand(std::string_view t) override { last_command = t; }
  void showReturnCode(std::string_view t) override { return_code = t; }
  void showStatus(std::string_view t) override { status = t; statuses.emplace_back(t); }
  void showResult(std::string_view t) override { result = t; }
};

class ExecuteTest : public ::testing::Test {
 protected:
  ExecuteTest() : exec(prompter) {
    handle = driver.open("TALVSTRM0", nullptr);
    exec.setHandle(handle.get());
  }
  // Every EXEC request answers with the next of these codes (the last repeats).
  void answerWith(std::vector<uint8_t> codes) {
    driver.answer = [this, codes](const fake::Request&, uint8_t* out, size_t) {
      out[4] = codes[std::min(calls++, codes.size() - 1)];
      return true;
    };
  }
  fake::FakePrompter prompter;
  fake::ScriptedDriver driver;
  std::unique_ptr<DeviceHandle> handle;
  CommandExecutor exec;
  RecordingDisplay display;
  size_t calls = 0;
};

TEST_F(ExecuteTest, SuccessIsShownAndHeaderOnlyCommandSendsSixteenBytes) {
  answerWith({0});
  exec.setDisplay(&display);
  exec.block().prepare(READ_CHDLC_LINK_STATUS);
  EXPECT_EQ(exec.ExecuteCommand(), 0);
  ASSERT_EQ(driver.requests.size(), 1u);
  EXPECT_EQ(driver.requests[0].code, IOCTL_EXEC_CMD);
  EXPECT_EQ(driver.requests[0].in.size(), 16u);
  EXPECT_EQ(driver.requests[0].out_len, 1016u);
  EXPECT_EQ(display.last_command, "Read Link Status:");
  EXPECT_EQ(display.return_code, "0x00");
  EXPECT_EQ(display.result, "Success");
}

TEST_F(ExecuteTest, FailedRequestReadsAsPresetTimeout) {
  exec.setDisplay(&display);
  exec.block().setReturnCode(0);
  exec.block().prepare(READ_CHDLC_LINK_STATUS);
  EXPECT_EQ(exec.ExecuteCommand(), 0xAA);
  EXPECT_EQ(display.return_code, "0xAA");
  EXPECT_EQ(display.result, "0xAA");
}

TEST_F(ExecuteTest, ClosedDisplayShowsNothingAndNullHandleFails) {
  answerWith({0});
  exec.setDisplay(&display);
  exec.block().prepare(READ_CHDLC_LINK_STATUS);
  exec.ExecuteCommand();
  ASSERT_EQ(display.last_command, "Read Link Status:");
  display = {};
  exec.setDisplay(nullptr);  // the Polling and Device Info window closed
  exec.block().prepare(READ_CHDLC_OPERATIONAL_STATS);
  EXPECT_EQ(exec.ExecuteCommand(), 0);
  EXPECT_EQ(driver.requests.size(), 2u) << "the command is still sent";
  EXPECT_TRUE(display.last_command.empty());
  EXPECT_TRUE(display.return_code.empty());
  EXPECT_TRUE(display.result.empty());

  exec.setDisplay(&display);
  exec.setHandle(nullptr);
  exec.block().setReturnCode(0);
  EXPECT_EQ(exec.ExecuteCommand(), 0xAA);
  EXPECT_EQ(driver.requests.size(), 2u) << "nothing reaches the driver without a handle";
  EXPECT_EQ(display.return_code, "0xAA");
}

TEST_F(ExecuteTest, InputNeverRunsPastTheBlock) {
  answerWith({0});
  exec.block().setCommand(SET_CHDLC_CONFIGURATION);
  exec.block().setBufferLength(0xFFFF);
  exec.ExecuteCommand();
  EXPECT_EQ(driver.requests[0].in.size(), kCommandBlockSize);
}

TEST_F(ExecuteTest, TimeoutCodesPromptAndOtherCodesRetrySilently) {
  for (uint8_t code : {uint8_t{0xAA}, uint8_t{0x7F}}) {
    prompter.clear();
    calls = 0;
    driver.requests.clear();
    answerWith({code, 0});
    prompter.answer(ui::Answer::Retry);
    exec.block().prepare(READ_CHDLC_CONFIGURATION);
    EXPECT_TRUE(exec.ExecuteCommandWithRetry());
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "Command timeout occurred. Retry?");
    EXPECT_EQ(prompter.last().caption, "Timeout Error");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Question);
    EXPECT_EQ(prompter.last().buttons, ui::Buttons::RetryCancel);
    EXPECT_EQ(driver.requests.size(), 2u);
  }
  prompter.clear();
  calls = 0;
  driver.requests.clear();
  answerWith({0x01});
  exec.setDisplay(&display);
  exec.block().prepare(READ_CHDLC_CONFIGURATION);
  EXPECT_FALSE(exec.ExecuteCommandWithRetry());
  EXPECT_EQ(prompter.count(), 0u);
  EXPECT_EQ(driver.requests.size(), 4u);
  EXPECT_EQ(display.statuses, (std::vector<std::string>{"Retry 1/3...", "Retry 2/3...", "Retry 3/3..."}));
}

TEST_F(ExecuteTest, CancelAtFirstTimeoutSendsOnce) {
  answerWith({0xAA});
  prompter.answer(ui::Answer::Cancel);
  exec.block().prepare(READ_CHDLC_CONFIGURATION);
  EXPECT_FALSE(exec.ExecuteCommandWithRetry());
  EXPECT_EQ(driver.requests.size(), 1u);
}

TEST_F(ExecuteTest, RetryRestoresCommandChangedDuringThePrompt) {
  answerWith({0xAA, 0});
  prompter.answer(ui::Answer::Retry);
  prompter.while_shown = [this](const ui::Prompt&) { exec.block().prepare(READ_MODEM_STATUS, std::vector<uint8_t>{1, 2}); };
  exec.block().prepare(READ_CHDLC_CONFIGURATION);
  EXPECT_TRUE(exec.ExecuteCommandWithRetry());
  ASSERT_EQ(driver.requests.size(), 2u);
  EXPECT_EQ(driver.requests[1].in[1], READ_CHDLC_CONFIGURATION);
  EXPECT_EQ(driver.requests[1].in.size(), 16u);
}

TEST_F(ExecuteTest, TwoKilobyteCommandPresetsTimeoutAndShowsNothing) {
  exec.setDisplay(&display);
  exec.block().setReturnCode(0);
  exec.block().prepare(READ_FRONT_END_TYPE);
  exec.ExecuteCommand2K();
  EXPECT_EQ(exec.block().returnCode(), 0xAA);
  ASSERT_EQ(driver.requests.size(), 1u);
  EXPECT_EQ(driver.requests[0].code, IOCTL_EXEC_CMD_2K);
  EXPECT_EQ(driver.requests[0].in.size(), 2048u);
  EXPECT_EQ(driver.requests[0].out_len, 2048u);
  EXPECT_TRUE(display.last_command.empty());
}

TEST(CommandBlockTest, ReplyLengthIsBoundedByTheRequest) {
  CommandBlock cb;
  cb.setBufferLength(5000);
  EXPECT_EQ(cb.replyLength(kExecCmdMaxReply), 1000u);
  EXPECT_EQ(cb.replyLength(kExecCmd2KMaxReply), 2032u);
  cb.setBufferLength(7);
  EXPECT_EQ(cb.replyLength(kExecCmdMaxReply), 7u);
}

}  // namespace
