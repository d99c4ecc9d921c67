// talvmon as the line-rate benchmark runs it: the program's own parts put
// together as its main() does, driven through its menu to the state a user
// watching a busy line has: device open, communications enabled (Receive
// Detail displaying and counting), Link Status and Operational Statistics
// open. It prints "ready" once there; at "stop" on stdin (or its end) it
// lets the window catch up and prints what the window shows:
// "counted=N shown=N lost_at_card=N".

#include <QApplication>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "driver_if/default_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/profile_store.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::QtHost host;
  ui::QtPrompter prompter(host);
  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  ProfileFile settings(SettingsPath());
  MonitorApp monitor({host, prompter, *driver, settings});
  if (!monitor.Start()) return 1;
  // The card was configured by whoever started the simulator.
  monitor.core().connection().setConfigured();
  MainWindow& main = monitor.core().mainWindow();
  for (int id : {kMenuOpenDevice, kMenuEnableCommunications, kMenuLinkStatus, kMenuOperationalStatistics})
    main.onMenuCommand(id);
  ReceiveDetailWindow* detail = monitor.communications().receiveDetail();
  if (detail == nullptr) {
    std::fprintf(stderr, "line_rate_monitor: communications did not come up\n");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);

  std::thread stdin_watch([&] {
    std::string line;
    while (std::getline(std::cin, line) && line != "stop") {
    }
    host.post([&] {
      detail->drain();
      const ui::Form& form = detail->form();
      std::printf("counted=%u shown=%s lost_at_card=%s\n",
                  monitor.communications().receptionThread()->framesCounted(),
                  form.text(ReceiveDetailWindow::kCounter).c_str(),
                  form.text(ReceiveDetailWindow::kLostAtCard).c_str());
      std::fflush(stdout);
      host.closeMainWindow();
    });
  });
  const int code = host.run();
  stdin_watch.join();
  return monitor.Exit(code);
}
