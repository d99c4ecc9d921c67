// talvmon: the line monitor.

#include <QApplication>

#include "driver_if/default_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/profile_store.h"
#include "monitor/core/window_layout.h"
#include "ui/qt/images.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(ui::ResourceIcon("aaaprogicon"));
  ui::QtHost host;
  ui::QtPrompter prompter(host);
  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  ProfileFile settings(SettingsPath());
  ProfileFile layout(LayoutPath(settings.path()));
  MonitorApp monitor({host, prompter, *driver, settings, &layout});
  if (!monitor.Start()) return 1;
  return monitor.Exit(host.run());
}
