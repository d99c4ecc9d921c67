#include "exporter/options.h"

#include <charconv>

#include "driver_if/device_names.h"

namespace exporter {

namespace {

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

std::vector<std::string> SplitDevices(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (comma > start) names.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

}  // namespace

std::optional<ListenAddress> ParseListenAddress(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  ListenAddress address;
  std::string host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
    address.ipv6 = true;
  } else if (host.find(':') != std::string::npos) {
    return std::nullopt;
  }
  address.host = host;
  const std::string port = text.substr(colon + 1);
  const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), address.port);
  if (port.empty() || ec != std::errc() || end != port.data() + port.size() || address.port > 65535)
    return std::nullopt;
  return address;
}

bool ParseOptions(std::span<const std::string> args, Options* options, std::string* error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string flag = args[i];
    std::optional<std::string> value;
    if (const size_t eq = flag.find('='); flag.starts_with("--") && eq != std::string::npos) {
      value = flag.substr(eq + 1);
      flag.resize(eq);
    }
    auto take = [&]() -> std::optional<std::string> {
      if (value) return value;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (flag == "--help" || flag == "-h") {
      o.help = true;
    } else if (flag == "--version") {
      o.version = true;
    } else if (flag == "--web.listen-address") {
      auto v = take();
      if (!v || !ParseListenAddress(*v)) return Fail(error, "--web.listen-address needs HOST:PORT");
      o.listen_address = *v;
    } else if (flag == "--web.telemetry-path") {
      auto v = take();
      if (!v || !v->starts_with('/') || *v == "/") return Fail(error, "--web.telemetry-path needs a path below /");
      o.telemetry_path = *v;
    } else if (flag == "--devices") {
      auto v = take();
      if (!v) return Fail(error, "--devices needs a comma-separated list of devices");
      std::vector<std::string> names = SplitDevices(*v);
      if (names.empty()) return Fail(error, "--devices needs at least one device");
      for (const std::string& name : names)
        if (!IsCardDeviceName(name)) return Fail(error, "--devices: " + name + " is not a card device (TALVSTRM0..TALVSTRM15)");
      o.devices = std::move(names);
    } else {
      return Fail(error, "unknown argument " + args[i]);
    }
  }
  *options = std::move(o);
  return true;
}

std::string Usage() {
  return std::string("usage: talvlink_exporter [flags]\n"
                     "\n"
                     "Serves the state and statistics of the Talvlink cards for Prometheus.\n"
                     "\n"
                     "  --web.listen-address=HOST:PORT  where to serve (default ") +
         kDefaultListenAddress +
         ";\n"
         "                                  :PORT for every address, port 0 for any free port)\n"
         "  --web.telemetry-path=PATH       path of the metrics (default /metrics)\n"
         "  --devices=NAME[,NAME...]        devices to watch (default: every device present,\n"
         "                                  looked for again at each scrape)\n"
         "  --version                       print the version and exit\n"
         "  --help                          print this help and exit\n";
}

}  // namespace exporter
