#pragma once
// "New Device": the name of the device to work with, typed or picked from
// the devices present.

#include <string>
#include <vector>

#include "monitor/core/device_listing.h"
#include "ui/form.h"

const ui::FormTemplate& SelectDeviceTemplate();

class SelectDeviceDialog : public ui::FormHandler {
 public:
  static constexpr int kAccepted = 1;
  static constexpr int kName = 101;
  static constexpr int kSetAsDefault = 102;
  static constexpr int kStoredDefault = 103;
  static constexpr int kPresent = 104;

  SelectDeviceDialog(std::string current, std::string stored_default, std::vector<PresentDevice> present = {})
      : name_(std::move(current)), stored_default_(std::move(stored_default)), present_(std::move(present)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;

  const std::string& deviceName() const { return name_; }
  bool setAsDefault() const { return set_as_default_; }

 private:
  void accept();

  ui::Form* form_ = nullptr;
  std::string name_;
  std::string stored_default_;
  std::vector<PresentDevice> present_;
  bool set_as_default_ = false;
};
