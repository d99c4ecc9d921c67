#pragma once
// The configurator's two dialogs.

#include "ui/form_template.h"

namespace configurator {

inline constexpr int kCloseButton = 1;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelCommand = 2;
inline constexpr int kAboutCommand = 16;
inline constexpr int kDeviceList = 1000;
inline constexpr const char* kProgramIcon = "128";
inline constexpr const char* kAboutMenuText = "&About Configurator...";

ui::FormTemplate MainDialogTemplate();   // template 102
ui::FormTemplate AboutDialogTemplate();  // template 100

}  // namespace configurator
