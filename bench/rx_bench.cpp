// rx_*: frame reception end to end through a talvcard the benchmark starts.
// The card's generator offers minimum-size frames as fast as they are
// taken. talvmon reads them with its real Receive Detail window (Qt,
// offscreen) with "Display received frames" and "Count:" checked; a bare
// loop reads them through the same backend from a second card. Rounds of
// the two alternate so both see the same machine. rx_capture_* alternate
// rounds of the window with and without "Capture to file..." checked.

#include <QApplication>
#include <QEventLoop>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "bench/harness.h"
#include "bench/monitor_settings.h"
#include "bench/qt_app.h"
#include "cardsim/ctl_client.h"
#include "driver_if/command_block.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/cardsim/daemon_process.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

namespace bench {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kFrameSize = 6;
constexpr uint32_t kRoundFrames = 1'000'000;
constexpr int kRounds = 3;
constexpr auto kProbePeriod = 5ms;
constexpr auto kRoundLimit = 60s;

// How many frames the card's generator handed out, from its report.
long long HandedOut(cardsim::CtlClient& ctl, int card) {
  char line[32];
  std::snprintf(line, sizeof line, "gen %d", card);
  std::string text = ctl.call(line).text;
  size_t at = text.find("handed_out=");
  return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + 11);
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  return 0;
}

// Message boxes as talvmon shows them; the capture file's path without asking.
class CapturePrompter : public ui::QtPrompter {
 public:
  CapturePrompter(ui::QtHost& host, std::string path) : QtPrompter(host), path_(std::move(path)) {}
  std::optional<std::string> askSavePath(const ui::SavePathPrompt&) override { return path_; }

 private:
  std::string path_;
};

// The records in a capture file, or -1 when it is not whole.
long long CapturedFrames(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream in(path, std::ios::binary);
  uintmax_t at = 24;  // the file header
  long long n = 0;
  std::array<uint8_t, 16> header;  // a record's header
  while (at < size && in.seekg(static_cast<std::streamoff>(at)) &&
         in.read(reinterpret_cast<char*>(header.data()), header.size())) {
    at += header.size() + le::get_u32(header, 8);
    ++n;
  }
  return !error && at == size ? n : -1;
}

// The daemon with two configured cards, and talvmon with communications
// enabled on the first.
class Rig {
 public:
  Rig()
      : daemon_(dir_.path(), {"--card", "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 configured plug",
                              "--card", "TALVSTRM1 pci bus=0 slot=9 cpu=A port=primary configured plug"}),
        driver_(dir_.path()),
        settings_(WriteTimerSettings(dir_.path())),
        prompter_(host_, capturePath()),
        app_({host_, prompter_, driver_, settings_}) {}

  bool start() {
    std::string error;
    ctl_ = cardsim::CtlClient::Connect(dir_.path(), &error);
    if (!daemon_.serving() || !ctl_ || !app_.Start()) return false;
    app_.core().connection().setConfigured();
    app_.core().mainWindow().onMenuCommand(kMenuOpenDevice);
    app_.core().mainWindow().onMenuCommand(kMenuEnableCommunications);
    ReceiveDetailWindow* window = app_.communications().receiveDetail();
    if (window == nullptr) return false;
    window_ = &window->form();
    return window_->isChecked(ReceiveDetailWindow::kDisplay) &&
           window_->isChecked(ReceiveDetailWindow::kCount);
  }
  ~Rig() { app_.communications().Disable(); }

  cardsim::CtlClient& ctl() { return *ctl_; }
  SocketCardDriver& driver() { return driver_; }
  ReceptionThread& reception() { return *app_.communications().receptionThread(); }
  ui::QtHost& host() { return host_; }
  std::string capturePath() const { return dir_.path() + "/capture.pcap"; }

  // Checks or unchecks "Capture to file..." as a click would.
  bool setCapture(bool on) {
    ReceiveDetailWindow* window = app_.communications().receiveDetail();
    window_->setChecked(ReceiveDetailWindow::kCapture, on);
    window->onCommand(ReceiveDetailWindow::kCapture, ui::Notify::Clicked);
    return window_->isChecked(ReceiveDetailWindow::kCapture) == on;
  }

  // Runs the UI thread's event loop until talvmon has counted `until`
  // frames in all, answering posted probes meanwhile; false on a timeout.
  bool runUntilCounted(uint64_t until, std::vector<double>* latencies_ms) {
    QEventLoop loop;
    std::atomic<bool> done{false};
    bool reached = false;
    std::thread watcher([&] {
      const auto limit = Clock::now() + kRoundLimit;
      while (reception().framesCounted() < until && Clock::now() < limit) std::this_thread::sleep_for(1ms);
      reached = reception().framesCounted() >= until;
      ended_ = Clock::now();
      done = true;
      host_.post([&loop] { loop.quit(); });
    });
    std::thread prober([&] {
      while (!done) {
        auto posted = Clock::now();
        host_.post([posted, latencies_ms] {
          if (latencies_ms != nullptr)
            latencies_ms->push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
        });
        std::this_thread::sleep_for(kProbePeriod);
      }
    });
    loop.exec();
    watcher.join();
    prober.join();
    return reached;
  }
  Clock::time_point ended() const { return ended_; }

  // What the window shows once the UI thread has caught up.
  std::string shownCount() {
    QApplication::processEvents();
    app_.communications().receiveDetail()->drain();
    return window_->text(ReceiveDetailWindow::kCounter);
  }

 private:
  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  ProfileFile settings_;
  ui::QtHost host_;
  CapturePrompter prompter_;
  MonitorApp app_;
  std::unique_ptr<cardsim::CtlClient> ctl_;
  ui::Form* window_ = nullptr;
  Clock::time_point ended_;
};

bool EnableLine(DeviceHandle& handle) {
  CommandBlock block;
  block.prepare(ENABLE_CHDLC_COMMUNICATIONS);
  auto& b = block.bytes();
  return handle.control(IOCTL_EXEC_CMD, b.data(), kCommandHeaderSize, b.data(), kExecCmdOutputSize,
                        nullptr) &&
         block.returnCode() == RC_OK;
}

// As fast as taken; a count of 0 for no end.
std::string GenerateCommand(int card, uint64_t count) {
  char line[64];
  std::snprintf(line, sizeof line, "gen %d 0 %d %llu", card, kFrameSize,
                static_cast<unsigned long long>(count));
  return line;
}

Values MeasureReception() {
  EnsureQtApplication();
  Rig rig;
  if (!rig.start()) {
    std::fprintf(stderr, "rx: talvcard or talvmon did not start\n");
    return {};
  }
  uint32_t error = 0;
  auto raw = rig.driver().open("TALVSTRM1", &error);
  if (!raw || !EnableLine(*raw)) return {};
  auto frame = std::make_unique<ReceivedFrame>();

  std::vector<double> ui_rates, raw_rates, ratios, latencies;
  int64_t lost = 0;
  bool all_shown = true;
  for (int round = 0; round < kRounds; ++round) {
    rig.ctl().call(GenerateCommand(1, kRoundFrames));
    auto start = Clock::now();
    for (uint32_t got = 0; got < kRoundFrames;) {
      if (!ReceiveFrame(raw.get(), *frame)) return {};
      if (frame->valid() == 1) ++got;
    }
    double raw_rate = kRoundFrames / std::chrono::duration<double>(Clock::now() - start).count();

    const uint64_t before = rig.reception().framesCounted();
    rig.ctl().call(GenerateCommand(0, kRoundFrames));
    start = Clock::now();
    if (!rig.runUntilCounted(before + kRoundFrames, &latencies)) {
      std::fprintf(stderr, "rx: talvmon counted %u of %llu frames\n", rig.reception().framesCounted(),
                   static_cast<unsigned long long>(before + kRoundFrames));
      return {};
    }
    double ui_rate = kRoundFrames / std::chrono::duration<double>(rig.ended() - start).count();
    const uint64_t counted = rig.reception().framesCounted() - before;
    lost += static_cast<int64_t>(counted) - HandedOut(rig.ctl(), 0);
    all_shown = all_shown && rig.shownCount() == std::to_string(rig.reception().framesCounted());

    raw_rates.push_back(raw_rate);
    ui_rates.push_back(ui_rate);
    ratios.push_back(ui_rate / raw_rate);
  }
  QApplication::processEvents();
  if (!all_shown) std::fprintf(stderr, "rx: the window did not show the count\n");
  std::sort(latencies.begin(), latencies.end());
  double p99 = latencies.empty() ? 0 : latencies[latencies.size() * 99 / 100];
  return {{"rx_fps", Median(ui_rates)},
          {"rx_raw_fps", Median(raw_rates)},
          {"rx_vs_raw", Median(ratios)},
          {"rx_lost", static_cast<double>(lost)},
          {"rx_ui_latency_p99_ms", p99}};
}

// The window's rate with and without capture, in alternate rounds; a
// capture round ends once its last frame is in the file.
Values MeasureCapture() {
  EnsureQtApplication();
  Rig rig;
  if (!rig.start()) {
    std::fprintf(stderr, "rx_capture: talvcard or talvmon did not start\n");
    return {};
  }
  std::vector<double> plain_rates, capture_rates, ratios;
  for (int round = 0; round < kRounds; ++round) {
    uint64_t before = rig.reception().framesCounted();
    rig.ctl().call(GenerateCommand(0, kRoundFrames));
    auto start = Clock::now();
    if (!rig.runUntilCounted(before + kRoundFrames, nullptr)) return {};
    const double plain = kRoundFrames / std::chrono::duration<double>(rig.ended() - start).count();

    if (!rig.setCapture(true)) {
      std::fprintf(stderr, "rx_capture: cannot capture to %s\n", rig.capturePath().c_str());
      return {};
    }
    before = rig.reception().framesCounted();
    rig.ctl().call(GenerateCommand(0, kRoundFrames));
    start = Clock::now();
    if (!rig.runUntilCounted(before + kRoundFrames, nullptr)) return {};
    rig.shownCount();  // the last batch written
    const double captured = kRoundFrames / std::chrono::duration<double>(Clock::now() - start).count();
    rig.setCapture(false);
    const long long in_file = CapturedFrames(rig.capturePath());
    if (in_file != kRoundFrames) {
      std::fprintf(stderr, "rx_capture: %lld of %u frames in the file\n", in_file, kRoundFrames);
      return {};
    }
    plain_rates.push_back(plain);
    capture_rates.push_back(captured);
    ratios.push_back(captured / plain);
  }
  return {{"rx_capture_fps", Median(capture_rates)}, {"rx_capture_vs_rx", Median(ratios)}};
}

// Resident memory of talvmon's side after 100 thousand and after 10
// million frames.
Values MeasureSoak() {
  constexpr uint64_t kEarly = 100'000;
  constexpr uint64_t kLate = 10'000'000;
  EnsureQtApplication();
  Rig rig;
  if (!rig.start()) return {};
  rig.ctl().call(GenerateCommand(0, 0));
  if (!rig.runUntilCounted(kEarly, nullptr)) return {};
  const long early = ResidentKilobytes();
  for (uint64_t at = kEarly + 1'000'000; at <= kLate; at += 1'000'000)
    if (!rig.runUntilCounted(std::min(at, kLate), nullptr)) return {};
  const long late = ResidentKilobytes();
  rig.ctl().call("gen 0 off");
  return {{"rx_rss_growth_mb", (late - early) / 1024.0}};
}

}  // namespace

void RegisterRxFigures(Registry& registry) {
  registry.add({"rx",
                {{"rx_fps", "frames/s", 0},
                 {"rx_raw_fps", "frames/s", 0},
                 {"rx_vs_raw", "ratio", 2},
                 {"rx_lost", "frames", 0},
                 {"rx_ui_latency_p99_ms", "ms", 1}},
                true,
                MeasureReception});
  registry.add({"rx_capture",
                {{"rx_capture_fps", "frames/s", 0}, {"rx_capture_vs_rx", "ratio", 2}},
                true,
                MeasureCapture});
  registry.add({"rx_soak", {{"rx_rss_growth_mb", "MB", 2}}, true, MeasureSoak});
}

}  // namespace bench
