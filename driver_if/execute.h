#pragma once
// Sending mailbox commands through the one CommandBlock of the process.

#include <cstdint>
#include <string>
#include <string_view>

#include "driver_if/card_driver.h"
#include "driver_if/command_block.h"
#include "ui/prompter.h"

// The fields of the "Polling and Device Info" window that the execute
// operations and the device connection write, while that window is open.
class CommandDisplay {
 public:
  virtual ~CommandDisplay() = default;
  virtual void showLastCommand(std::string_view name) = 0;   // control 900
  virtual void showReturnCode(std::string_view text) = 0;    // control 100
  virtual void showStatus(std::string_view text) = 0;        // control 902
  virtual void showResult(std::string_view text) = 0;        // control 903
};

class CommandExecutor {
 public:
  explicit CommandExecutor(ui::Prompter& prompter) : prompter_(prompter) {}

  CommandBlock& block() { return block_; }
  const CommandBlock& block() const { return block_; }

  // The device handle commands go to; null while no device is open, so
  // every request then fails and reads as a timeout.
  void setHandle(DeviceHandle* handle) { handle_ = handle; }
  DeviceHandle* handle() const { return handle_; }

  // The open "Polling and Device Info" window, or null.
  void setDisplay(CommandDisplay* display) { display_ = display; }
  CommandDisplay* display() const { return display_; }

  // IOCTL_EXEC_CMD with the exchange shown in the display; returns return_code.
  uint8_t ExecuteCommand();

  // ExecuteCommand, then up to three retries; a timeout asks the user first.
  bool ExecuteCommandWithRetry();

  // IOCTL_EXEC_CMD_2K with the whole block; nothing is displayed. The
  // caller reads return_code, which still holds the 0xAA preset when the
  // request never reached the card.
  void ExecuteCommand2K();

 private:
  ui::Prompter& prompter_;
  CommandBlock block_;
  DeviceHandle* handle_ = nullptr;
  CommandDisplay* display_ = nullptr;
};

// "0x%02X"
std::string FormatReturnCode(uint8_t rc);
