#pragma once
// A form with every control kind and style, and a handler that records
// what reaches it.

#include <functional>
#include <string>
#include <vector>

#include "ui/form.h"

namespace uitest {

enum SampleId {
  kOk = 1,
  kCancel = 2,
  kHiddenButton = 3,
  kDisabledButton = 4,
  kChannel = 201,
  kQueued = 202,
  kMarkup = 203,
  kStacked = 210,
  kOofLight = 1021,
  kRedLight = 1022,
  kAisLight = 1023,
  kDeviceName = 301,
  kInterval = 302,
  kEnableTimer = 401,
  kT1 = 411,
  kE1 = 412,
  k56K = 413,
  kPoll = 420,
  kSortedList = 501,
  kColumnList = 502,
  kFraming = 601,
  kDetail = 701,
};

ui::FormTemplate SampleForm();

struct RecordingHandler : ui::FormHandler {
  void onInit(ui::Form& f) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onCloseRequest() override;
  void onChar(uint8_t ch) override;
  void onMouseDown() override;

  ui::Form* form = nullptr;
  std::vector<std::string> events;
  std::function<void(ui::Form&)> on_init;
  std::function<void(int, ui::Notify)> on_command;
  std::function<void()> on_close;
  std::function<void(int)> on_timer;
};

}  // namespace uitest
