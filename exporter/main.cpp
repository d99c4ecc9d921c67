// talvlink_exporter: serves the cards' state and statistics for Prometheus.

#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver_if/default_driver.h"
#include "exporter/collector.h"
#include "exporter/http_server.h"
#include "exporter/options.h"
#include "exporter/routes.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  exporter::Options options;
  std::string error;
  if (!exporter::ParseOptions(args, &options, &error)) {
    std::fprintf(stderr, "talvlink_exporter: %s\n%s", error.c_str(), exporter::Usage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(exporter::Usage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("talvlink_exporter %s\n", exporter::kExporterVersion);
    return 0;
  }

  // Blocked before any thread starts, so only sigwait below takes them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  exporter::Collector collector(*driver, options.devices);
  const exporter::ListenAddress address = *exporter::ParseListenAddress(options.listen_address);
  auto server = exporter::HttpServer::Start(
      address,
      [&](const exporter::HttpRequest& request) {
        return exporter::Route(request, options.telemetry_path, collector);
      },
      &error);
  if (!server) {
    std::fprintf(stderr, "talvlink_exporter: %s: %s\n", options.listen_address.c_str(), error.c_str());
    return 1;
  }
  const std::string host = address.host.empty() ? "" : address.ipv6 ? "[" + address.host + "]" : address.host;
  std::printf("talvlink_exporter: listening on %s:%u\n", host.c_str(), server->port());
  std::fflush(stdout);

  int received = 0;
  sigwait(&stop_signals, &received);
  return 0;
}
