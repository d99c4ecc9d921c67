// Control commands that move a card's FT1 unit: line events, a busy
// transmit buffer, statistics switched off, scripted status bytes.

#include <cstdio>
#include <vector>

#include "cardsim/control_commands.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

CtlReply LineEvent(Ft1Unit& unit, Args args) {
  if (args.size() != 1) return CtlError("expected up, down or remote");
  if (args[0] == "up") unit.setLine(Ft1Line::kUp);
  else if (args[0] == "down") unit.setLine(Ft1Line::kDown);
  else if (args[0] == "remote") unit.setLine(Ft1Line::kRemoteTest);
  else return CtlError("expected up, down or remote");
  return CtlOk();
}

CtlReply Busy(Ft1Unit& unit, Args args) {
  uint32_t sends = 0;
  if (args.size() != 1 || !ParseCtlNumber(args[0], 1'000'000, &sends)) return CtlError("bad count");
  unit.makeBusy(sends);
  return CtlOk();
}

CtlReply ScriptStatus(Ft1Unit& unit, Args args) {
  if (args.empty() || args.size() % 2 != 0) return CtlError("expected pairs of status bytes A B");
  std::vector<Ft1StatusBytes> bytes;
  for (size_t i = 0; i < args.size(); i += 2) {
    uint32_t a = 0, b = 0;
    if (!ParseCtlNumber(args[i], 0xFF, &a) || !ParseCtlNumber(args[i + 1], 0xFF, &b))
      return CtlError("bad status byte");
    bytes.emplace_back(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
  }
  unit.scriptStatus(bytes);
  return CtlOk();
}

CtlReply Show(const Ft1Unit& unit) {
  const Ft1Configuration& c = unit.configuration();
  const char* line = unit.line() == Ft1Line::kDown ? "down" : unit.line() == Ft1Line::kUp ? "up" : "remote";
  char text[200];
  std::snprintf(text, sizeof text,
                "flags=0x%02X mode=%d line=%s framing=%u encoding=%u line_build_out=%u channel_base=%u "
                "baud_rate=%u clock_mode=%u",
                unit.monitorFlags(), static_cast<int>(unit.mode()), line, c.framing, c.encoding,
                c.line_build_out, c.channel_base, c.baud_rate, c.clock_mode);
  return CtlOk(text);
}

CtlReply Ft1Command(Simulator& sim, Args args) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  if (!card->description().ft1_unit) return CtlError("no FT1 unit");
  if (args.size() < 2) return CtlError("expected line, busy, statsoff, status or show");
  const std::string& what = args[1];
  Args rest = args.subspan(2);
  return card->withState([&](CardState& s) {
    Ft1Unit& unit = s.ft1;
    if (what == "line") return LineEvent(unit, rest);
    if (what == "busy") return Busy(unit, rest);
    if (what == "status") return ScriptStatus(unit, rest);
    if (what == "statsoff" && rest.empty()) {
      unit.switchStatisticsOff();
      return CtlOk();
    }
    if (what == "show" && rest.empty()) return Show(unit);
    return CtlError("expected line, busy, statsoff, status or show");
  });
}

}  // namespace

void RegisterFt1Commands(ControlCommands& commands) {
  commands.add("ft1", "ft1 CARD line up|down|remote | busy SENDS | statsoff | status A B [A B ...] | show",
               Ft1Command);
}

}  // namespace cardsim
