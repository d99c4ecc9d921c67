// talvctl_status_ms: one `talvctl status --json` as a whole process against
// the simulator, start to exit, so scripts know what polling a card costs.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/harness.h"
#include "tests/cardsim/daemon_process.h"

extern char** environ;

namespace bench {

namespace {

constexpr int kRuns = 50;
constexpr int kWarmUpRuns = 3;

// Runs talvctl with its output thrown away; false when it did not exit 0.
bool RunStatus(const std::string& directory) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string(*e).rfind("TALVSTRM_DIR=", 0) != 0) env.emplace_back(*e);
  env.push_back("TALVSTRM_DIR=" + directory);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = TALVCTL_PATH;
  std::string args[] = {"status", "TALVSTRM1", "--json"};
  char* argv[] = {program.data(), args[0].data(), args[1].data(), args[2].data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Values MeasureStatus() {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path());
  if (!daemon.serving()) return {};
  for (int i = 0; i < kWarmUpRuns; ++i) RunStatus(dir.path());
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!RunStatus(dir.path())) return {};
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return {{"talvctl_status_ms", Median(ms)}};
}

}  // namespace

void RegisterTalvctlFigures(Registry& registry) {
  registry.add({"talvctl", {{"talvctl_status_ms", "ms", 2}}, true, MeasureStatus});
}

}  // namespace bench
