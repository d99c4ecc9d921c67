// talvcap at E1 line rate: the simulator's generator offers 6-byte frames at
// 36,571 frames/s for 30 s while talvcap writes them to a file. The figures
// are the frames offered but missing from the file, and talvcap's CPU time
// as a share of one core over the run.

#include <pcap/pcap.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "bench/harness.h"
#include "card/chdlc.h"
#include "card/device.h"
#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"

namespace bench {
namespace {

using namespace std::chrono_literals;

constexpr uint64_t kLineRate = 36'571;  // 6-byte frames an E1 carries per second
constexpr uint64_t kSeconds = 30;
constexpr uint64_t kOffered = kLineRate * kSeconds;

uint64_t GeneratorField(cardsim::CtlClient& ctl, const char* field) {
  const std::string text = ctl.call("gen 0").text;
  const size_t at = text.find(field);
  return at == std::string::npos ? 0 : std::stoull(text.substr(at + std::strlen(field)));
}

// Records in a capture file, or -1 when it does not read to its end.
long long RecordsIn(const std::string& path) {
  char error[PCAP_ERRBUF_SIZE];
  pcap_t* p = pcap_open_offline(path.c_str(), error);
  if (p == nullptr) return -1;
  pcap_pkthdr* header = nullptr;
  const u_char* data = nullptr;
  long long n = 0;
  int rc = 0;
  while ((rc = pcap_next_ex(p, &header, &data)) == 1) ++n;
  pcap_close(p);
  return rc == PCAP_ERROR_BREAK ? n : -1;
}

Values MeasureCapture() {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path(), {"--card", "TALVSTRM0 pci configured"});
  std::string error;
  auto ctl = cardsim::CtlClient::Connect(dir.path(), &error);
  SocketCardDriver driver(dir.path());
  uint32_t open_error = 0;
  auto device = card::Device::Open(driver, "TALVSTRM0", &open_error);
  if (!daemon.serving() || !ctl || !device || card::EnableCommunications(device->exec()) != RC_OK) return {};

  const std::string file = dir.path() + "/capture.pcap";
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("TALVSTRM_DIR", dir.path().c_str(), 1);
    execl(TALVCAP_PATH, "talvcap", "-i", "TALVSTRM0", "-w", file.c_str(), "-q", static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 500 && !std::filesystem::exists(file); ++i) std::this_thread::sleep_for(10ms);

  const auto start = std::chrono::steady_clock::now();
  ctl->call("gen 0 " + std::to_string(kLineRate) + " 6 " + std::to_string(kOffered));
  while (GeneratorField(*ctl, "offered=") < kOffered && std::chrono::steady_clock::now() - start < 2 * kSeconds * 1s)
    std::this_thread::sleep_for(200ms);
  // The last frames reach the file within a moment of being offered.
  std::this_thread::sleep_for(500ms);
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  kill(pid, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec / 1e6;
  const long long records = RecordsIn(file);
  if (records < 0 || !WIFEXITED(status)) return {};
  card::DisableCommunications(device->exec());
  return {{"capture_line_rate_lost", static_cast<double>(kOffered) - static_cast<double>(records)},
          {"capture_cpu_pct", 100.0 * cpu / wall.count()}};
}

}  // namespace

void RegisterCaptureFigures(Registry& registry) {
  registry.add({"capture",
                {{"capture_line_rate_lost", "frames", 0}, {"capture_cpu_pct", "%", 1}},
                true,
                MeasureCapture});
}

}  // namespace bench
