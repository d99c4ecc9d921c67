// The exporter as an operator runs it: the real program in front of a
// talvcard serving 16 cards, scraped over HTTP.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/harness.h"
#include "tests/cardsim/daemon_process.h"

namespace bench {

namespace {

using namespace std::chrono_literals;

constexpr int kScrapes = 40;
constexpr auto kIdleWindow = 3s;

// The exporter as a child process on a free port, the port read from its first line.
class ExporterProcess {
 public:
  explicit ExporterProcess(const std::string& devices) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      setenv("TALVSTRM_DIR", devices.c_str(), 1);
      execl(TALVLINK_EXPORTER_PATH, TALVLINK_EXPORTER_PATH, "--web.listen-address=127.0.0.1:0",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    const size_t colon = line.rfind(':');
    if (colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
  }
  ~ExporterProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// One GET of the metrics; false on any failure.
bool Scrape(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  const std::string request = "GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  ok = ok && write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size());
  std::string reply;
  char buffer[65536];
  for (ssize_t n; ok && (n = read(fd, buffer, sizeof buffer)) > 0;) reply.append(buffer, static_cast<size_t>(n));
  close(fd);
  return ok && reply.starts_with("HTTP/1.") && reply.compare(8, 5, " 200 ") == 0 && reply.find("talvlink_up{device=\"TALVSTRM15\"} 1") != std::string::npos;
}

// User and system time of a process so far.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  unsigned long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoul(field);
    if (i == 15) stime = std::stoul(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Values MeasureExporter() {
  simtest::TempDir dir;
  std::vector<std::string> cards;
  const char* kinds[] = {"ft1", "t1", "e1", "56k"};
  for (int i = 0; i < 16; ++i) {
    cards.push_back("--card");
    cards.push_back("TALVSTRM" + std::to_string(i) + " pci slot=" + std::to_string(i) + " " + kinds[i % 4]);
  }
  simtest::DaemonProcess daemon(dir.path(), cards);
  ExporterProcess exporter(dir.path());
  if (!daemon.serving() || exporter.port() == 0) {
    std::fprintf(stderr, "exporter bench: talvcard or the exporter did not start\n");
    return {};
  }
  Scrape(exporter.port());  // every card found once
  std::vector<double> ms;
  for (int i = 0; i < kScrapes; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!Scrape(exporter.port())) {
      std::fprintf(stderr, "exporter bench: scrape %d failed\n", i);
      return {};
    }
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double before = CpuSeconds(exporter.pid());
  std::this_thread::sleep_for(kIdleWindow);
  const double idle = CpuSeconds(exporter.pid()) - before;
  return {{"exporter_scrape_ms", Median(ms)},
          {"exporter_idle_cpu_percent", 100.0 * idle / std::chrono::duration<double>(kIdleWindow).count()}};
}

}  // namespace

void RegisterExporterFigures(Registry& registry) {
  registry.add({"exporter",
                {{"exporter_scrape_ms", "ms", 2}, {"exporter_idle_cpu_percent", "%", 2}},
                true,
                MeasureExporter});
}

}  // namespace bench
