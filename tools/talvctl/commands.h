#pragma once
// One function per subcommand; each returns the exit status. The command
// line is parsed in cli.cpp, so these take plain values.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/talvctl/session.h"

namespace talvctl {

int RunList(Session& s);
int RunInfo(Session& s, const std::string& device);
int RunStatus(Session& s, const std::string& device);
int RunStats(Session& s, const std::string& device, bool clear);
int RunConfig(Session& s, const std::string& device);
int RunConfigure(Session& s, const std::string& device, const std::vector<std::string>& settings);
int RunComms(Session& s, const std::string& device, const std::string& state);

struct SendOptions {
  std::optional<std::string> hex;
  std::optional<std::string> text;
  uint32_t count = 1;
  uint32_t interval_ms = 0;
};
int RunSend(Session& s, const std::string& device, const SendOptions& options);

struct RecvOptions {
  std::optional<uint32_t> count;
  std::optional<double> timeout_s;
  std::optional<std::string> capture_path;  // -w: a capture file, "-" for stdout
};
int RunRecv(Session& s, const std::string& device, const RecvOptions& options);

int RunModem(Session& s, const std::string& device, const std::vector<std::string>& settings);
int RunLoopback(Session& s, const std::string& device, const std::string& mode, const std::string& state);
int RunAlarms(Session& s, const std::string& device, bool clear);
int RunFt1(Session& s, const std::string& device, const std::string& what, const std::vector<std::string>& settings);
int RunRegister(Session& s, const std::string& device, const std::string& address);
int RunDump(Session& s, const std::string& device, const std::string& offset, const std::string& length,
            const std::optional<std::string>& output);

struct WatchOptions {
  uint32_t interval_ms = 1000;
  std::optional<uint32_t> count;  // refreshes before leaving by itself
};
int RunWatch(Session& s, const std::string& device, const WatchOptions& options);

}  // namespace talvctl
