#pragma once
// The exporter's command line, in the usual exporter style: --flag=value or
// --flag value.

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace exporter {

inline constexpr char kDefaultListenAddress[] = "127.0.0.1:9817";
inline constexpr char kExporterVersion[] = "1.0.0";

struct Options {
  bool help = false;
  bool version = false;
  std::string listen_address = kDefaultListenAddress;
  std::string telemetry_path = "/metrics";
  std::optional<std::vector<std::string>> devices;  // unset: every device present
};

// Arguments after the program name; false with *error for anything unknown or malformed.
bool ParseOptions(std::span<const std::string> args, Options* options, std::string* error);

std::string Usage();

// "HOST:PORT", "[V6HOST]:PORT" or ":PORT" (every address); the port may be 0.
struct ListenAddress {
  std::string host;  // empty: every address
  bool ipv6 = false;
  unsigned port = 0;
};
std::optional<ListenAddress> ParseListenAddress(const std::string& text);

}  // namespace exporter
