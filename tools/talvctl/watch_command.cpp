// watch: status and statistics redrawn every --interval, like top, until q
// or Ctrl+C. When stdout is not a terminal each refresh is appended as a
// block of its own, without screen control.

#include <sstream>

#include "card/chdlc.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/interruption.h"
#include "tools/talvctl/terminal.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/unit_alarms.h"

namespace talvctl {

namespace {

using namespace std::chrono_literals;

constexpr char kHomeAndClear[] = "\x1b[H\x1b[2J";
constexpr auto kKeyLookInterval = 50ms;

// One refresh's text; on a failed read, false and that read's message.
bool Snapshot(card::Device& device, std::string* text) {
  CommandExecutor& exec = device.exec();
  auto failed = [text](uint8_t code, uint8_t rc) {
    *text = RefusalText(code, rc);
    return false;
  };
  const card::Reply<card::LinkStatus> link = card::ReadLinkStatus(exec);
  if (!link.ok()) return failed(READ_CHDLC_LINK_STATUS, link.rc);
  const card::Reply<card::ModemStatus> modem = card::ReadModemStatus(exec);
  if (!modem.ok()) return failed(READ_MODEM_STATUS, modem.rc);
  const card::Reply<card::OperationalStatistics> op = card::ReadOperationalStatistics(exec);
  if (!op.ok()) return failed(READ_CHDLC_OPERATIONAL_STATS, op.rc);
  const card::Reply<card::CommErrorStatistics> errors = card::ReadCommErrorStatistics(exec);
  if (!errors.ok()) return failed(READ_COMMS_ERROR_STATS, errors.rc);
  const UnitAlarms alarms = ReadUnitAlarms(exec);
  if (alarms.rc != RC_OK) return failed(alarms.failed_code, alarms.rc);

  std::ostringstream out;
  Field(out, "Device", device.name());
  Field(out, "Communications", link.value.active() ? "enabled" : "disabled");
  Field(out, "Frames queued", link.value.frames_queued);
  Field(out, "DCD", modem.value.dcd() ? "high" : "low");
  Field(out, "CTS", modem.value.cts() ? "high" : "low");
  Field(out, "Frames transmitted", op.value.frames_transmitted);
  Field(out, "Bytes transmitted", op.value.bytes_transmitted);
  Field(out, "Transmit throughput", op.value.transmit_throughput);
  Field(out, "Frames received", op.value.frames_received);
  Field(out, "Bytes received", op.value.bytes_received);
  Field(out, "Receive throughput", op.value.receive_throughput);
  Field(out, "CRC errors", errors.value.receiver_crc);
  Field(out, "Receiver overruns", errors.value.receiver_overrun);
  Field(out, "Abort frames", errors.value.abort_frames);
  PrintUnitAlarms(out, alarms);
  *text = out.str();
  return true;
}

// Waits out the interval; false when the user asked to leave.
bool AwaitNext(KeyReader& keys, std::chrono::milliseconds interval) {
  const auto until = std::chrono::steady_clock::now() + interval;
  while (!Interrupted()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left <= 0ms) return true;
    const std::optional<char> key = keys.next(std::min(left, std::chrono::milliseconds(kKeyLookInterval)));
    if (key == 'q' || key == 'Q') return false;
    if (!key && !SleepUnlessInterrupted(std::min(left, std::chrono::milliseconds(kKeyLookInterval)))) return false;
  }
  return false;
}

}  // namespace

int RunWatch(Session& s, const std::string& name, const WatchOptions& options) {
  if (options.interval_ms == 0) return s.usage("--interval must be at least 1 ms");
  if (options.count == 0u) return s.usage("--count must be at least 1");
  if (s.json) return s.usage("watch shows text only; use status --json to poll");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  const bool screen = StdoutIsTerminal();
  KeyReader keys;
  for (uint32_t shown = 0;;) {
    std::string text;
    if (!Snapshot(*device, &text)) return s.refused(text);
    if (screen) s.out << kHomeAndClear << text << "\n(q or Ctrl+C to leave)\n";
    else s.out << (shown == 0 ? "" : "\n") << text;
    s.out.flush();
    if (options.count && ++shown >= *options.count) break;
    if (!AwaitNext(keys, std::chrono::milliseconds(options.interval_ms))) break;
  }
  return kExitOk;
}

}  // namespace talvctl
