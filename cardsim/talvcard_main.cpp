// talvcard: the card simulator daemon, and `talvcard ctl` to talk to it.

#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cardsim/ctl_client.h"
#include "cardsim/daemon.h"
#include "cardsim/daemon_options.h"
#include "driver_if/socket_driver.h"

namespace {

cardsim::Daemon* g_daemon = nullptr;

void OnStopSignal(int) {
  if (g_daemon != nullptr) g_daemon->stop();
}

int RunControl(std::vector<std::string> args) {
  std::string directory = DefaultDeviceDirectory();
  if (args.size() >= 2 && args[0] == "--dir") {
    directory = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) {
    std::fputs(cardsim::DaemonUsage().c_str(), stderr);
    return 2;
  }
  std::string line;
  for (const auto& a : args) line += (line.empty() ? "" : " ") + a;
  std::string error;
  auto client = cardsim::CtlClient::Connect(directory, &error);
  if (!client) {
    std::fprintf(stderr, "talvcard: %s\n", error.c_str());
    return 1;
  }
  cardsim::CtlReply reply = client->call(line);
  // The reply is one line; the command list reads better one per line.
  if (args[0] == "help") {
    for (size_t at; (at = reply.text.find("; ")) != std::string::npos;)
      reply.text.replace(at, 2, "\n");
  }
  std::FILE* stream = reply.ok ? stdout : stderr;
  if (!reply.text.empty()) std::fprintf(stream, "%s\n", reply.text.c_str());
  return reply.ok ? 0 : 1;
}

int RunDaemon(const std::vector<std::string>& args) {
  cardsim::DaemonOptions options;
  std::string error;
  if (!cardsim::ParseDaemonArguments(args, &options, &error)) {
    std::fprintf(stderr, "talvcard: %s\n%s", error.c_str(), cardsim::DaemonUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(cardsim::DaemonUsage().c_str(), stdout);
    return 0;
  }
  cardsim::Simulator simulator(options.cards);
  cardsim::Daemon daemon(simulator, options.directory);
  if (!daemon.start(&error)) {
    std::fprintf(stderr, "talvcard: %s\n", error.c_str());
    return 1;
  }
  g_daemon = &daemon;
  struct sigaction stop {};
  stop.sa_handler = OnStopSignal;
  stop.sa_flags = SA_RESTART;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGTERM, &stop, nullptr);
  sigaction(SIGINT, &stop, nullptr);

  std::string cards;
  for (int index : simulator.indices()) cards += " " + CardDeviceName(index);
  std::printf("talvcard: serving%s in %s\n", cards.c_str(), options.directory.c_str());
  std::fflush(stdout);
  daemon.run();
  g_daemon = nullptr;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "ctl") return RunControl({args.begin() + 1, args.end()});
  return RunDaemon(args);
}
