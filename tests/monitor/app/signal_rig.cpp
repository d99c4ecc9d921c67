// talvmon as its main() builds it, brought by itself to a busy state for a
// signal to interrupt: TALVSTRM1 open, communications enabled, line
// loop-back on. Prints "ready" then runs until it is told to end.
// Usage: signal_rig SOCKET_DIR INI_FILE

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/profile_store.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"
#include "ui/qt/shutdown_on_signal.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QApplication app(argc, argv);
  ui::QtHost host;
  ui::QtPrompter prompter(host);
  SocketCardDriver driver(argv[1]);
  ProfileFile settings(argv[2]);
  MonitorApp monitor({host, prompter, driver, settings});
  if (!ui::ShutDownOnSignals(host, prompter) || !monitor.Start()) return 1;

  monitor.core().connection().setDeviceName("TALVSTRM1");
  monitor.core().connection().setConfigured();
  MainWindow& main = monitor.core().mainWindow();
  main.onMenuCommand(kMenuOpenDevice);
  // As configuring the card in this session would have found it.
  monitor.serviceUnit().Detect(monitor.core().exec());
  main.onMenuCommand(kMenuEnableCommunications);
  main.onMenuCommand(kMenuTe1Tests);
  QTimer::singleShot(0, [] {
    for (QWidget* widget : QApplication::allWidgets())
      if (auto* button = qobject_cast<QAbstractButton*>(widget);
          button != nullptr && button->text().remove('&') == "Activate Line Loop Back Mode")
        button->click();
    std::printf("ready\n");
    std::fflush(stdout);
  });
  return monitor.Exit(host.run());
}
