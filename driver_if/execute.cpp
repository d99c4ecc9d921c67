#include "driver_if/execute.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "driver_if/command_names.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "driver_if/requests.h"

std::string FormatReturnCode(uint8_t rc) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", rc);
  return text;
}

uint8_t CommandExecutor::ExecuteCommand() {
  if (display_ != nullptr) {
    display_->showLastCommand(CommandName(block_.command()));
    display_->showReturnCode("----");
  }
  block_.setReturnCode(RC_PRESET_TIMEOUT);
  // buffer_length is 16-bit: never send past the end of the block.
  size_t in_len = std::min(kCommandHeaderSize + block_.bufferLength(), kCommandBlockSize);
  auto& b = block_.bytes();
  ControlRequest(handle_, IOCTL_EXEC_CMD, b.data(), in_len, b.data(), kExecCmdOutputSize);
  uint8_t rc = block_.returnCode();
  if (display_ != nullptr) {
    std::string code = FormatReturnCode(rc);
    display_->showReturnCode(code);
    display_->showResult(rc == 0 ? "Success" : code);
  }
  return rc;
}

bool CommandExecutor::ExecuteCommandWithRetry() {
  const uint8_t command = block_.command();
  const uint16_t length = block_.bufferLength();
  for (unsigned attempt = 0;;) {
    uint8_t rc = ExecuteCommand();
    if (rc == 0) return true;
    if (++attempt == 4) return false;
    if (IsTimeout(rc)) {
      ui::Prompt question{"Command timeout occurred. Retry?", "Timeout Error", ui::Icon::Question,
                          ui::Buttons::RetryCancel};
      if (prompter_.show(question) != ui::Answer::Retry) return false;
    }
    if (display_ != nullptr) {
      char status[24];
      std::snprintf(status, sizeof status, "Retry %u/3...", attempt);
      display_->showStatus(status);
    }
    // The prompt's modal loop lets polling use the block meanwhile.
    block_.setCommand(command);
    block_.setBufferLength(length);
  }
}

void CommandExecutor::ExecuteCommand2K() {
  block_.setReturnCode(RC_PRESET_TIMEOUT);
  auto& b = block_.bytes();
  ControlRequest(handle_, IOCTL_EXEC_CMD_2K, b.data(), b.size(), b.data(), b.size());
}
