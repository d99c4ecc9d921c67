// tick_vs_bare_roundtrips: one polling tick with the five monitor windows
// open (real Qt windows, offscreen) against the five bare IOCTL_EXEC_CMD
// round trips it makes. idle_cpu_timer_mode: the monitor's own CPU time,
// connected in timer mode at 100 ms with every window open.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "bench/harness.h"
#include "bench/qt_app.h"
#include "driver_if/command_block.h"
#include "driver_if/mailbox.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/cardsim/daemon_process.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

namespace bench {

namespace {

using namespace std::chrono_literals;

// The commands one tick sends with the four reading windows open.
constexpr std::array<uint8_t, 5> kTickCommands = {READ_CHDLC_LINK_STATUS, READ_CHDLC_OPERATIONAL_STATS,
                                                  READ_COMMS_ERROR_STATS, READ_GLOBAL_STATISTICS,
                                                  READ_MODEM_STATUS};

bool Execute(DeviceHandle& handle, CommandBlock& block, uint8_t command, std::span<const uint8_t> data = {}) {
  block.prepare(command, data);
  block.setReturnCode(RC_PRESET_TIMEOUT);
  auto& b = block.bytes();
  uint32_t returned = 0;
  return handle.control(IOCTL_EXEC_CMD, b.data(), kCommandHeaderSize + data.size(), b.data(),
                        kExecCmdOutputSize, &returned) &&
         block.returnCode() == RC_OK;
}

// A monitor connected to TALVSTRM0 of a fresh daemon, every monitor window open.
class ConnectedMonitor {
 public:
  explicit ConnectedMonitor(const char* settings_text)
      : daemon_(dir_.path()), driver_(dir_.path()), settings_(dir_.path() + "/talvmon.ini") {
    EnsureQtApplication();
    std::ofstream(dir_.path() + "/talvmon.ini") << settings_text;
    if (!daemon_.serving()) return;
    auto handle = driver_.open("TALVSTRM0", nullptr);
    std::array<uint8_t, StreamingConfig::kSize> image{};
    StreamingConfig{}.Write(image);
    CommandBlock block;
    if (!handle || !Execute(*handle, block, SET_CHDLC_CONFIGURATION, image)) return;
    monitor_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, settings_});
    if (!monitor_->Start()) return;
    monitor_->core().connection().setConfigured();
    MainWindow& main = monitor_->core().mainWindow();
    main.onMenuCommand(kMenuOpenDevice);
    main.onMenuCommand(kMenuOpenAll);
    ready_ = monitor_->core().connection().connected();
  }
  ~ConnectedMonitor() {
    if (!monitor_) return;
    host_.closeMainWindow();
    host_.run();
    monitor_->Exit(0);
  }
  bool ready() const { return ready_; }
  MonitorApp& monitor() { return *monitor_; }
  SocketCardDriver& driver() { return driver_; }

 private:
  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  ProfileFile settings_;
  ui::QtHost host_;
  ui::QtPrompter prompter_{host_};
  std::unique_ptr<MonitorApp> monitor_;
  bool ready_ = false;
};

Values MeasureTick() {
  ConnectedMonitor connected("[Polling]\nuse_system_timer=0\ntick_interval=65535\n");
  if (!connected.ready()) return {};
  auto bare = connected.driver().open("TALVSTRM0", nullptr);
  if (!bare) return {};
  MainWindow& main = connected.monitor().core().mainWindow();
  CommandBlock block;
  auto tick = [&] {
    main.onMenuCommand(kMenuPollNow);
    return true;
  };
  auto roundTrips = [&] {
    for (uint8_t command : kTickCommands)
      if (!Execute(*bare, block, command)) return false;
    return true;
  };
  std::vector<double> ratios;
  for (int round = 0; round < 7; ++round) {
    double bare_rate = RatePerSecond(300ms, roundTrips);
    double tick_rate = RatePerSecond(300ms, tick);
    // Repainting happens between ticks, as in the running program.
    QCoreApplication::processEvents();
    if (round > 0 && tick_rate > 0) ratios.push_back(bare_rate / tick_rate);
  }
  return {{"tick_vs_bare_roundtrips", Median(ratios)}};
}

double ProcessCpuSeconds() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  // Fields after the command name, which is in parentheses.
  std::istringstream rest(text.substr(text.rfind(')') + 2));
  std::string field;
  unsigned long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoul(field);
    if (i == 15) stime = std::stoul(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Values MeasureIdleCpu() {
  ConnectedMonitor connected("[Polling]\nuse_system_timer=1\ntick_interval_ms=100\n");
  if (!connected.ready() || !connected.monitor().core().polling().timerActive()) return {};
  QElapsedTimer wall;
  const double cpu_start = ProcessCpuSeconds();
  wall.start();
  QEventLoop loop;
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  const double cpu = ProcessCpuSeconds() - cpu_start;
  return {{"idle_cpu_timer_mode", 100.0 * cpu / (wall.elapsed() / 1000.0)}};
}

}  // namespace

void RegisterMonitorFigures(Registry& registry) {
  registry.add({"tick", {{"tick_vs_bare_roundtrips", "ratio", 2}}, true, MeasureTick});
  registry.add({"idle_cpu", {{"idle_cpu_timer_mode", "percent", 2, "< 2"}}, true, MeasureIdleCpu});
}

}  // namespace bench
