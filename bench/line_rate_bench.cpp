// line_rate_*: the programs as a user runs them. A talvcard daemon's
// generator offers 6-byte frames at a line's rate for 30 s to talvmon
// (line_rate_monitor, offscreen) with Receive Detail displaying and
// counting, Link Status and Operational Statistics open and polling every
// 100 ms. Each program's CPU over the 30 s is read from /proc. A frame the
// generator offered and Receive Detail did not count is lost: at the card
// (its receive queue was full, as the card's statistics and the window's
// "Lost at card:" show), in the transport (handed out by the card, never
// read by the reception thread) or in the program (read, not counted).
// A last run at twice E1 stops both programs for 40 ms ten times, as a
// host that takes the CPUs away now and then does. Each rate runs on a
// fresh daemon and monitor.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "bench/harness.h"
#include "bench/monitor_settings.h"
#include "cardsim/ctl_client.h"
#include "tests/cardsim/daemon_process.h"

namespace bench {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kOffered = 30s;
constexpr int kFrameSize = 6;
constexpr auto kSettleLimit = 5s;
// Longer than a polling tick, so "Lost at card:" has been read since.
constexpr auto kCatchUp = 500ms;

struct LineRate {
  const char* prefix;  // of the figure names
  uint32_t frames_per_second;
  std::chrono::seconds offered_for = kOffered;
  // Both programs stopped this often during the run, as a host that takes
  // a virtual machine's CPUs away stops them; zero for an undisturbed run.
  int stalls = 0;
};
// T1 and E1 at 6 data bytes (8 with the check bytes) and the flag between
// frames, and twice E1 for headroom: undisturbed, then with stalls.
constexpr auto kStall = 40ms;
constexpr auto kBetweenStalls = 300ms;
constexpr LineRate kRates[] = {{"line_rate_t1_", 27'428},
                               {"line_rate_", 36'571},
                               {"line_rate_2e1_", 73'142},
                               {"line_rate_2e1_stalled_", 73'142, 5s, 10}};

// User plus system CPU time of a process.
std::optional<double> CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t name_end = text.rfind(')');
  if (name_end == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(name_end + 2));
  std::string field;
  // utime and stime are the 12th and 13th fields after the name.
  for (int i = 1; i <= 11; ++i) fields >> field;
  unsigned long long user = 0, system = 0;
  if (!(fields >> user >> system)) return std::nullopt;
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Stops the processes for that long, all at once.
void StopFor(std::initializer_list<pid_t> pids, std::chrono::milliseconds how_long) {
  for (pid_t pid : pids) kill(pid, SIGSTOP);
  std::this_thread::sleep_for(how_long);
  for (pid_t pid : pids) kill(pid, SIGCONT);
}

// A number after "key=" in a report line, or -1.
long long Field(const std::string& text, const std::string& key) {
  const size_t at = text.find(key + "=");
  return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + key.size() + 1);
}

// line_rate_monitor as a child process, talked to through its stdin and stdout.
class Monitor {
 public:
  Monitor(const std::string& device_dir, const std::string& settings) {
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_child[0], STDIN_FILENO);
      dup2(from_child[1], STDOUT_FILENO);
      for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) close(fd);
      setenv("TALVSTRM_DIR", device_dir.c_str(), 1);
      setenv("TALVMON_INI", settings.c_str(), 1);
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      execl(LINE_RATE_MONITOR_PATH, LINE_RATE_MONITOR_PATH, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    to_ = fdopen(to_child[1], "w");
    from_ = fdopen(from_child[0], "r");
  }
  ~Monitor() {
    if (to_ != nullptr) std::fclose(to_);
    if (from_ != nullptr) std::fclose(from_);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  pid_t pid() const { return pid_; }
  std::string readLine() {
    char line[256];
    if (from_ == nullptr || std::fgets(line, sizeof line, from_) == nullptr) return {};
    return line;
  }
  // Its report, after which it exits.
  std::string stop() {
    std::fputs("stop\n", to_);
    std::fflush(to_);
    std::string report = readLine();
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return report;
  }

 private:
  pid_t pid_ = -1;
  std::FILE* to_ = nullptr;
  std::FILE* from_ = nullptr;
};

bool MeasureAt(const LineRate& rate, Values& values) {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path(), {"--card", "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 configured"});
  std::string error;
  auto ctl = cardsim::CtlClient::Connect(dir.path(), &error);
  if (!daemon.serving() || !ctl) {
    std::fprintf(stderr, "line_rate: talvcard did not start %s\n", error.c_str());
    return false;
  }
  Monitor monitor(dir.path(), WriteTimerSettings(dir.path()));
  if (monitor.readLine() != "ready\n") {
    std::fprintf(stderr, "line_rate: talvmon did not come up\n");
    return false;
  }

  const auto monitor_before = CpuSeconds(monitor.pid());
  const auto card_before = CpuSeconds(daemon.pid());
  const auto start = Clock::now();
  ctl->call("gen 0 " + std::to_string(rate.frames_per_second) + " " + std::to_string(kFrameSize));
  const auto stop_offering = start + rate.offered_for;
  for (int i = 0; i < rate.stalls; ++i) {
    std::this_thread::sleep_for(kBetweenStalls);
    StopFor({daemon.pid(), monitor.pid()}, kStall);
  }
  std::this_thread::sleep_until(stop_offering);
  std::string report = ctl->call("gen 0 off").text;
  const auto monitor_after = CpuSeconds(monitor.pid());
  const auto card_after = CpuSeconds(daemon.pid());
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  if (!monitor_before || !card_before || !monitor_after || !card_after) return false;

  for (auto limit = Clock::now() + kSettleLimit; Field(report, "queued") != 0 && Clock::now() < limit;) {
    std::this_thread::sleep_for(10ms);
    report = ctl->call("gen 0").text;
  }
  std::this_thread::sleep_for(kCatchUp);
  report = ctl->call("gen 0").text;
  const std::string shown = monitor.stop();

  const long long offered = Field(report, "offered");
  const long long handed_out = Field(report, "handed_out");
  const long long counted = Field(shown, "counted");
  const long long displayed = Field(shown, "shown");
  const long long at_card = Field(shown, "lost_at_card");
  if (offered < 0 || handed_out < 0 || counted < 0 || displayed < 0 || at_card < 0) {
    std::fprintf(stderr, "line_rate: no counts (card: %s; talvmon: %s)\n", report.c_str(), shown.c_str());
    return false;
  }
  if (at_card != Field(report, "overflowed"))
    std::fprintf(stderr, "line_rate: the window shows %lld lost at the card, the generator %lld\n", at_card,
                 Field(report, "overflowed"));
  const std::string p = rate.prefix;
  values[p + "lost"] = static_cast<double>(offered - displayed);
  values[p + "lost_at_card"] = static_cast<double>(at_card);
  values[p + "lost_in_transport"] = static_cast<double>(handed_out - counted);
  values[p + "lost_in_program"] = static_cast<double>(counted - displayed);
  if (rate.stalls > 0) return true;
  values[p + "talvmon_cpu_pct"] = 100 * (*monitor_after - *monitor_before) / elapsed;
  values[p + "card_cpu_pct"] = 100 * (*card_after - *card_before) / elapsed;
  return true;
}

Values MeasureLineRates() {
  Values values;
  for (const auto& rate : kRates)
    if (!MeasureAt(rate, values)) return {};
  return values;
}

}  // namespace

void RegisterLineRateFigures(Registry& registry) {
  std::vector<Figure> figures;
  for (const auto& rate : kRates) {
    const std::string p = rate.prefix;
    figures.push_back({p + "lost", "frames", 0, "0"});
    figures.push_back({p + "lost_at_card", "frames", 0, "0"});
    figures.push_back({p + "lost_in_transport", "frames", 0, "0"});
    figures.push_back({p + "lost_in_program", "frames", 0, "0"});
    if (rate.stalls > 0) continue;
    figures.push_back({p + "talvmon_cpu_pct", "percent", 1, "<= 10"});
    figures.push_back({p + "card_cpu_pct", "percent", 1, "<= 15"});
  }
  registry.add({"line_rate", std::move(figures), true, MeasureLineRates});
}

}  // namespace bench
