// soak: talvmon as a user leaves it running on a flooded line. A talvcard
// the benchmark starts serves one ISA card with an FT1 unit, its generator
// offering minimum-size frames as fast as they are taken. talvmon (real Qt
// windows, offscreen) has the device open, communications enabled and
// every window open that the card allows: the five monitor windows, Send
// Frames, Receive Detail with "Display received frames" and "Count:"
// checked, and the FT1 status monitor, statistics and terminal windows;
// it polls by timer every 100 ms with the event loop running. Resident
// memory, open descriptors and threads are taken after the first minute
// (or the first tenth of a shorter run) and at the end.
//
// TALV_SOAK_SECONDS sets the length (default 600).

#include <QApplication>
#include <QEventLoop>
#include <QMdiArea>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/harness.h"
#include "bench/monitor_settings.h"
#include "bench/qt_app.h"
#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/cardsim/daemon_process.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

namespace bench {

namespace {

using namespace std::chrono_literals;

struct Usage {
  double rss_mb = 0;
  long fds = 0;
  long threads = 0;
};

long Entries(const char* folder) {
  long n = 0;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator(folder, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error))
    ++n;
  return n;
}

Usage TakeUsage() {
  Usage u;
  long size = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> size >> resident;
  u.rss_mb = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
  // The iterator's own descriptor counts in both samples alike.
  u.fds = Entries("/proc/self/fd");
  u.threads = Entries("/proc/self/task");
  return u;
}

std::chrono::seconds SoakLength() {
  const char* text = std::getenv("TALV_SOAK_SECONDS");
  const long seconds = text != nullptr ? std::atol(text) : 0;
  return std::chrono::seconds(seconds > 0 ? seconds : 600);
}

void RunEventLoop(std::chrono::milliseconds length) {
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(length.count()), &loop, &QEventLoop::quit);
  loop.exec();
}

class SoakRig {
 public:
  SoakRig()
      : daemon_(dir_.path(), {"--card", "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 ft1 configured plug"}),
        driver_(dir_.path()),
        settings_(WriteTimerSettings(dir_.path())),
        prompter_(host_),
        app_({host_, prompter_, driver_, settings_}) {}
  ~SoakRig() {
    if (ctl_) ctl_->call("gen 0 off");
    if (!started_) return;
    app_.communications().Disable();
    host_.closeMainWindow();
    host_.run();
    app_.Exit(0);
  }

  // Every window open and the flood running; what failed, else null.
  const char* start() {
    std::string error;
    ctl_ = cardsim::CtlClient::Connect(dir_.path(), &error);
    if (!daemon_.serving() || !ctl_) return "talvcard did not start";
    if (!app_.Start()) return "talvmon did not start";
    started_ = true;
    app_.core().connection().setConfigured();
    MainWindow& main = app_.core().mainWindow();
    main.onMenuCommand(kMenuOpenDevice);
    if (!app_.core().connection().connected()) return "the device did not open";
    main.onMenuCommand(kMenuOpenAll);
    main.onMenuCommand(kMenuEnableCommunications);
    main.onMenuCommand(kMenuSendFrames);
    main.onMenuCommand(kMenuFt1Status);
    main.onMenuCommand(kMenuFt1Statistics);
    main.onMenuCommand(kMenuAdvancedFt1);
    ReceiveDetailWindow* detail = app_.communications().receiveDetail();
    if (detail == nullptr || !detail->form().isChecked(ReceiveDetailWindow::kDisplay) ||
        !detail->form().isChecked(ReceiveDetailWindow::kCount))
      return "Receive Detail is not open with Display and Count checked";
    if (app_.communications().sendFrames() == nullptr) return "Send Frames did not open";
    const Ft1Utilities& ft1 = app_.ft1Utilities();
    if (ft1.statusWindow() == nullptr || ft1.statisticsWindow() == nullptr || ft1.terminalWindow() == nullptr)
      return "an FT1 window did not open";
    if (!app_.core().polling().timerActive()) return "polling is not on the timer";
    if (!ctl_->call("gen 0 0 6").ok) return "the generator did not start";
    std::fprintf(stderr, "soak: %d windows in the MDI area, 3 FT1 windows\n",
                 static_cast<int>(host_.mdiArea()->subWindowList().size()));
    return nullptr;
  }

  uint32_t framesCounted() { return app_.communications().receptionThread()->framesCounted(); }
  uint32_t ticks() { return app_.core().polling().tickCounter(); }

 private:
  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  ProfileFile settings_;
  ui::QtHost host_;
  ui::QtPrompter prompter_;
  MonitorApp app_;
  std::unique_ptr<cardsim::CtlClient> ctl_;
  bool started_ = false;
};

Values MeasureSoak() {
  EnsureQtApplication();
  const auto length = std::chrono::duration_cast<std::chrono::milliseconds>(SoakLength());
  const auto early = std::min<std::chrono::milliseconds>(60s, length / 10);
  SoakRig rig;
  if (const char* failure = rig.start()) {
    std::fprintf(stderr, "soak: %s\n", failure);
    return {};
  }
  RunEventLoop(early);
  const Usage first = TakeUsage();
  const uint32_t frames_early = rig.framesCounted();
  RunEventLoop(length - early);
  const Usage last = TakeUsage();
  const uint32_t frames = rig.framesCounted();
  std::fprintf(stderr, "soak: %u frames received in %lld s (%u after the first sample), %u polling ticks\n",
               frames, static_cast<long long>(length.count() / 1000), frames - frames_early, rig.ticks());
  std::fprintf(stderr, "soak: rss %.1f -> %.1f MB, fds %ld -> %ld, threads %ld -> %ld\n", first.rss_mb,
               last.rss_mb, first.fds, last.fds, first.threads, last.threads);
  return {{"soak_rss_growth_mb", last.rss_mb - first.rss_mb},
          {"soak_fd_growth", static_cast<double>(last.fds - first.fds)},
          {"soak_thread_growth", static_cast<double>(last.threads - first.threads)},
          {"soak_frames_received", static_cast<double>(frames)}};
}

}  // namespace

void RegisterSoakFigures(Registry& registry) {
  registry.add({"soak",
                {{"soak_rss_growth_mb", "MB", 2},
                 {"soak_fd_growth", "descriptors", 0},
                 {"soak_thread_growth", "threads", 0},
                 {"soak_frames_received", "frames", 0}},
                false,
                MeasureSoak});
}

}  // namespace bench
