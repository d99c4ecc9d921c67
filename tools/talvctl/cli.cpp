#include "tools/talvctl/cli.h"

#include <CLI/CLI.hpp>
#include <functional>

#include "tools/talvctl/commands.h"

namespace talvctl {

namespace {

struct Parsed {
  std::string device;
  bool json = false;
  bool clear = false;
  std::string word1, word2;
  std::vector<std::string> settings;
  SendOptions send;
  RecvOptions recv;
  WatchOptions watch;
  std::optional<std::string> output;
  std::function<int(Session&)> run;
};

CLI::App* Subcommand(CLI::App& app, Parsed& p, const std::string& name, const std::string& description,
                     bool takes_device, std::function<int(Session&)> run) {
  CLI::App* sub = app.add_subcommand(name, description);
  if (takes_device) sub->add_option("DEV", p.device, "device, TALVSTRM0 to TALVSTRM15")->required();
  sub->add_flag("--json", p.json, "print one JSON document (see docs/talvctl.md)");
  sub->callback([&p, run] { p.run = run; });
  return sub;
}

void AddCommands(CLI::App& app, Parsed& p) {
  Subcommand(app, p, "list", "devices present, their card type and service unit", false,
             [](Session& s) { return RunList(s); });
  Subcommand(app, p, "info", "hardware report and code version", true,
             [&p](Session& s) { return RunInfo(s, p.device); });
  Subcommand(app, p, "status", "link, communications, modem signals, service-unit alarms", true,
             [&p](Session& s) { return RunStatus(s, p.device); });
  Subcommand(app, p, "stats", "operational and communication error statistics", true,
             [&p](Session& s) { return RunStats(s, p.device, p.clear); })
      ->add_flag("--clear", p.clear, "clear the statistics after reading them");
  Subcommand(app, p, "config", "the configuration the card reports", true,
             [&p](Session& s) { return RunConfig(s, p.device); });
  Subcommand(app, p, "configure", "configure the line: key=value ...", true,
             [&p](Session& s) { return RunConfigure(s, p.device, p.settings); })
      ->add_option("SETTINGS", p.settings,
                   "media, baud, interface, max-frame, tx-buffers, manual-dtr-rts, ignore-modem-changes, "
                   "count-tx, count-rx, tx-throughput, rx-throughput, framing, coding, lbo, clocking, channels");
  Subcommand(app, p, "comms", "enable or disable communications", true,
             [&p](Session& s) { return RunComms(s, p.device, p.word1); })
      ->add_option("STATE", p.word1, "on or off")
      ->required();

  CLI::App* send = Subcommand(app, p, "send", "send a frame", true,
                              [&p](Session& s) { return RunSend(s, p.device, p.send); });
  CLI::Option* hex = send->add_option("--hex", p.send.hex, "bytes as hexadecimal pairs, \"03 CC 45\"");
  send->add_option("--text", p.send.text, "the bytes of a text")->excludes(hex);
  send->add_option("--count", p.send.count, "frames to send (default 1)");
  send->add_option("--interval", p.send.interval_ms, "milliseconds between frames (default 0)");

  CLI::App* recv = Subcommand(app, p, "recv", "print received frames, one line each in hex", true,
                              [&p](Session& s) { return RunRecv(s, p.device, p.recv); });
  recv->add_option("--count", p.recv.count, "stop after this many frames");
  recv->add_option("--timeout", p.recv.timeout_s, "stop after this many seconds");
  recv->add_option("-w", p.recv.capture_path, "write a capture file instead; - for stdout");

  Subcommand(app, p, "modem", "read DCD and CTS, or set dtr=on|off rts=on|off", true,
             [&p](Session& s) { return RunModem(s, p.device, p.settings); })
      ->add_option("SETTINGS", p.settings, "dtr=on|off rts=on|off; a signal not named is driven low");
  CLI::App* loopback = Subcommand(app, p, "loopback", "T1/E1 loop-back test modes", true,
                                  [&p](Session& s) { return RunLoopback(s, p.device, p.word1, p.word2); });
  loopback->add_option("MODE", p.word1, "line, payload, digital or remote")->required();
  loopback->add_option("STATE", p.word2, "on or off")->required();
  Subcommand(app, p, "alarms", "service-unit alarms and counters", true,
             [&p](Session& s) { return RunAlarms(s, p.device, p.clear); })
      ->add_flag("--clear", p.clear, "clear the T1/E1 counters after reading them");
  CLI::App* ft1 = Subcommand(app, p, "ft1", "the FT1 unit: status, stats, or config [key=value ...]", true,
                             [&p](Session& s) { return RunFt1(s, p.device, p.word1, p.settings); });
  ft1->add_option("WHAT", p.word1, "status, stats or config")->required();
  ft1->add_option("SETTINGS", p.settings, "framing, encoding, lbo, clock, channel-base, baud");
  Subcommand(app, p, "register", "read a front-end register", true,
             [&p](Session& s) { return RunRegister(s, p.device, p.word1); })
      ->add_option("ADDR", p.word1, "register number in hexadecimal")
      ->required();
  CLI::App* dump = Subcommand(app, p, "dump", "adapter memory as a listing", true,
                              [&p](Session& s) { return RunDump(s, p.device, p.word1, p.word2, p.output); });
  dump->add_option("OFFSET", p.word1, "hexadecimal, 0 to 1FFFF")->required();
  dump->add_option("LENGTH", p.word2, "hexadecimal")->required();
  dump->add_option("-o", p.output, "write to this file instead of stdout");
  CLI::App* watch = Subcommand(app, p, "watch", "a live view until q or Ctrl+C", true,
                               [&p](Session& s) { return RunWatch(s, p.device, p.watch); });
  watch->add_option("--interval", p.watch.interval_ms, "milliseconds between refreshes (default 1000)");
  watch->add_option("--count", p.watch.count, "leave after this many refreshes");
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, CardDriver& driver, std::ostream& out, std::ostream& err) {
  CLI::App app("Talvlink streaming cards from the command line", "talvctl");
  app.require_subcommand(1);
  Parsed parsed;
  AddCommands(app, parsed);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kExitOk : kExitUsage;
  }
  Session session{driver, out, err, app.get_subcommands().front()->get_name(), parsed.json};
  return parsed.run(session);
}

}  // namespace talvctl
