#include "monitor/line/front_end_utilities.h"

#include "driver_if/mailbox.h"
#include "monitor/core/menu_ids.h"
#include "monitor/line/memory_dump_dialog.h"

FrontEndUtilities::FrontEndUtilities(MonitorCore& core, const ServiceUnit& unit) : core_(core), unit_(unit) {
  MainWindow& main = core.mainWindow();
  main.addCommand(kMenuTe1Alarms, [this] { OpenTe1Alarms(); });
  main.addCommand(kMenuTe1Tests, [this] { OpenTe1Tests(); });
  main.addCommand(kMenu56KStatus, [this] { Open56KStatus(); });
  main.addCommand(kMenuMemoryDump, [this] { MemoryDump(); });
  main.addUtilityWindowCloser([this] { if (alarms_.isOpen()) closeTe1Alarms(); });
  main.addUtilityWindowCloser([this] { if (status_56k_.isOpen()) close56KStatus(); });
  main.addUtilityWindowCloser([this] { if (tests_.isOpen()) closeTe1Tests(); });
  main.addDestroyListener([this] { destroyAll(); });
}

bool FrontEndUtilities::isTe1() const {
  return unit_.frontEndType() == kFrontEndT1 || unit_.frontEndType() == kFrontEndE1;
}

template <class Window>
bool FrontEndUtilities::startRefresh(ToolWindowSlot<Window>& slot, void (FrontEndUtilities::*close)()) {
  if (core_.host().startTimer(*slot.form(), Window::kRefreshTimer, Window::kRefreshMs)) return true;
  core_.prompter().show({"Couldn't get system timer. Close some other application and try again.",
                         "T1 Status Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::None});
  (this->*close)();
  return false;
}

void FrontEndUtilities::OpenTe1Alarms() {
  if (!isTe1() || alarms_.raise()) return;
  auto window = std::make_shared<Te1AlarmsWindow>(core_.exec(), unit_.frontEndType(),
                                                  [this] { closeTe1Alarms(); });
  if (!alarms_.create(core_.host(), Te1AlarmsTemplate(), ui::WindowKind::TopLevel, std::move(window)))
    return;
  if (!startRefresh(alarms_, &FrontEndUtilities::closeTe1Alarms)) return;
  alarms_.form()->bringToTop();
  core_.host().setMenuChecked(kMenuTe1Alarms, true);
}

void FrontEndUtilities::closeTe1Alarms() {
  if (!alarms_.isOpen()) return;
  core_.host().stopTimer(*alarms_.form(), Te1AlarmsWindow::kRefreshTimer);
  alarms_.destroy(core_.host());
  core_.host().setMenuChecked(kMenuTe1Alarms, false);
}

void FrontEndUtilities::Open56KStatus() {
  if (unit_.frontEndType() != kFrontEnd56K || status_56k_.raise()) return;
  auto window = std::make_shared<Status56KWindow>(core_.exec(), [this] { close56KStatus(); });
  if (!status_56k_.create(core_.host(), Status56KTemplate(), ui::WindowKind::TopLevel, std::move(window)))
    return;
  if (!startRefresh(status_56k_, &FrontEndUtilities::close56KStatus)) return;
  status_56k_.form()->bringToTop();
  core_.host().setMenuChecked(kMenu56KStatus, true);
}

void FrontEndUtilities::close56KStatus() {
  if (!status_56k_.isOpen()) return;
  core_.host().stopTimer(*status_56k_.form(), Status56KWindow::kRefreshTimer);
  status_56k_.destroy(core_.host());
  core_.host().setMenuChecked(kMenu56KStatus, false);
}

void FrontEndUtilities::OpenTe1Tests() {
  if (!isTe1() || tests_.raise()) return;
  auto window = std::make_shared<Te1TestsWindow>(core_.exec(), [this] { closeTe1Tests(); });
  if (!tests_.create(core_.host(), Te1TestsTemplate(), ui::WindowKind::OwnedPopup, std::move(window)))
    return;
  tests_.form()->bringToTop();
  core_.host().setMenuChecked(kMenuTe1Tests, true);
}

void FrontEndUtilities::closeTe1Tests() {
  // The notice's modal loop may deliver another close request meanwhile.
  if (!tests_.isOpen() || tests_closing_) return;
  tests_closing_ = true;
  Te1TestsWindow& window = *tests_.window();
  if (window.anyModeOn())
    core_.prompter().show({"All Test Modes will be terminated.", "Terminating test modes",
                           ui::Icon::Information, ui::Buttons::Ok, ui::Owner::None});
  // Before the window goes, and while the device is still open.
  window.switchAllOff();
  tests_.destroy(core_.host());
  core_.host().setMenuChecked(kMenuTe1Tests, false);
  tests_closing_ = false;
}

void FrontEndUtilities::destroyAll() {
  closeTe1Alarms();
  close56KStatus();
  closeTe1Tests();
}

void FrontEndUtilities::MemoryDump() {
  if (!core_.connection().requireConnection(kMemoryDumpCaption)) return;
  MemoryDumpDialog dialog(core_.exec().handle(), core_.prompter(), *clock_);
  core_.host().runModal(MemoryDumpTemplate(), dialog);
}
