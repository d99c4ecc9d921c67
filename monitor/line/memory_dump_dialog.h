#pragma once
// "Adapter Memory Dump - for expert use only!": reads adapter memory with
// IOCTL_READ_MEMORY, lists it, and appends the listing to the dump file.

#include "driver_if/card_driver.h"
#include "driver_if/records.h"
#include "monitor/line/dump_clock.h"
#include "ui/form.h"
#include "ui/prompter.h"

const ui::FormTemplate& MemoryDumpTemplate();

class MemoryDumpDialog : public ui::FormHandler {
 public:
  static constexpr int kListing = 1077;
  static constexpr int kAddress = 1078;
  static constexpr int kLength = 1079;
  static constexpr int kGetMemory = 1080;
  static constexpr int kSaveDump = 1081;
  static constexpr int kClose = 399;

  // handle: the open device connection's; it outlives the dialog.
  MemoryDumpDialog(DeviceHandle* handle, ui::Prompter& prompter, const DumpClock& clock)
      : handle_(handle), prompter_(prompter), clock_(clock) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { form_->endDialog(0); }

 private:
  void getMemory();
  void saveDump();
  void warn(const char* text);

  DeviceHandle* handle_;
  ui::Prompter& prompter_;
  const DumpClock& clock_;
  ui::Form* form_ = nullptr;
  MemoryReadRequest request_;
};
