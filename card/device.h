#pragma once
// A card opened by name for a program that is not talvmon: its own handle
// and its own CommandBlock, and no one to ask questions of.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "driver_if/card_driver.h"
#include "driver_if/execute.h"
#include "ui/prompter.h"

namespace card {

class Device {
 public:
  // Null on failure, with *error the platform's code: kErrorDeviceNotFound
  // also for names outside TALVSTRM0..TALVSTRM15.
  static std::unique_ptr<Device> Open(CardDriver& driver, std::string_view name, uint32_t* error);
  ~Device();

  const std::string& name() const { return name_; }
  CommandExecutor& exec() { return exec_; }
  DeviceHandle* handle() const { return handle_.get(); }

 private:
  // Answers every question with Cancel: a timeout is a failure, not a prompt.
  class NoQuestions : public ui::Prompter {
   public:
    ui::Answer show(const ui::Prompt&) override { return ui::Answer::Cancel; }
    std::optional<std::string> askSavePath(const ui::SavePathPrompt&) override { return std::nullopt; }
  };

  Device(std::string name, std::unique_ptr<DeviceHandle> handle);

  std::string name_;
  std::unique_ptr<DeviceHandle> handle_;
  NoQuestions no_questions_;
  CommandExecutor exec_{no_questions_};
};

}  // namespace card
