// Control commands that set what a card's front end reports and show its
// loop-back modes, and the failing range of adapter memory reads.

#include <cstdio>

#include "cardsim/adapter_memory.h"
#include "cardsim/control_commands.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

bool IsTe(const Card& card) {
  return card.description().front_end == FrontEnd::kT1 || card.description().front_end == FrontEnd::kE1;
}

// The card of args[0] when it has a T1/E1 front end.
Card* TeCard(Simulator& sim, Args args, CtlReply* error) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) *error = CtlError("bad card");
  else if (!IsTe(*card)) *error = CtlError("no T1/E1 front end");
  else return card;
  return nullptr;
}

bool AlarmBit(const std::string& name, uint16_t* bit) {
  const std::pair<const char*, uint16_t> names[] = {
      {"oof", kAlarmOof}, {"red", kAlarmRed}, {"ais", kAlarmAis}, {"yel", kAlarmYel}};
  for (const auto& [n, b] : names)
    if (name == n) *bit = b;
  return *bit != 0;
}

CtlReply AlarmCommand(Simulator& sim, Args args) {
  CtlReply error;
  Card* card = TeCard(sim, args, &error);
  if (card == nullptr) return error;
  uint16_t bit = 0;
  if (args.size() != 3 || !AlarmBit(args[1], &bit) || (args[2] != "on" && args[2] != "off"))
    return CtlError("expected oof, red, ais or yel, then on or off");
  const bool on = args[2] == "on";
  card->withState([&](CardState& s) {
    s.front_end.alarms = static_cast<uint16_t>(on ? s.front_end.alarms | bit : s.front_end.alarms & ~bit);
  });
  return CtlOk();
}

CtlReply AlarmsCommand(Simulator& sim, Args args) {
  CtlReply error;
  Card* card = TeCard(sim, args, &error);
  if (card == nullptr) return error;
  uint32_t word = 0;
  if (args.size() != 2 || !ParseCtlNumber(args[1], 0xFFFF, &word)) return CtlError("bad alarm word");
  card->withState([&](CardState& s) { s.front_end.alarms = static_cast<uint16_t>(word); });
  return CtlOk();
}

CtlReply CounterCommand(Simulator& sim, Args args) {
  CtlReply error;
  Card* card = TeCard(sim, args, &error);
  if (card == nullptr) return error;
  uint32_t index = 0, value = 0;
  if (args.size() != 3 || !ParseCtlNumber(args[1], 3, &index)) return CtlError("bad counter");
  if (!ParseCtlNumber(args[2], UINT32_MAX, &value)) return CtlError("bad value");
  card->withState([&](CardState& s) { s.front_end.counters[index] = value; });
  return CtlOk();
}

CtlReply Status56KCommand(Simulator& sim, Args args) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  if (card->description().front_end != FrontEnd::k56K) return CtlError("no 56K front end");
  uint32_t word = 0;
  if (args.size() != 2 || !ParseCtlNumber(args[1], 0xFFFF, &word)) return CtlError("bad status word");
  card->withState([&](CardState& s) { s.front_end.status_56k = static_cast<uint16_t>(word); });
  return CtlOk();
}

CtlReply FrontEndCommand(Simulator& sim, Args args) {
  Card* card = args.size() == 1 ? FindCard(sim, args[0]) : nullptr;
  if (card == nullptr) return CtlError("bad card");
  if (card->description().front_end == FrontEnd::kNone) return CtlError("no front end");
  const bool is_56k = card->description().front_end == FrontEnd::k56K;
  return CtlOk(card->withState([&](const CardState& s) {
    const FrontEndState& fe = s.front_end;
    char text[160];
    if (is_56k) {
      std::snprintf(text, sizeof text, "status=0x%04X", fe.status_56k);
    } else {
      std::snprintf(text, sizeof text, "alarms=0x%04X counters=%u,%u,%u,%u linelb=%d paylb=%d ddlb=%d lbsignal=%d",
                    fe.alarms, fe.counters[0], fe.counters[1], fe.counters[2], fe.counters[3],
                    fe.line_loopback, fe.payload_loopback, fe.digital_loopback, fe.loopback_signal);
    }
    return std::string(text);
  }));
}

CtlReply MemFailCommand(Simulator& sim, Args args) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  uint32_t first = 0, last = 0, status = 0;
  if (args.size() != 4 || !ParseCtlNumber(args[1], kAdapterMemorySize - 1, &first) ||
      !ParseCtlNumber(args[2], kAdapterMemorySize - 1, &last) || last < first)
    return CtlError("bad range");
  if (!ParseCtlNumber(args[3], 0xFF, &status) || status == 0) return CtlError("bad status");
  card->faults().failMemoryReads(first, last, static_cast<uint8_t>(status));
  return CtlOk();
}

}  // namespace

void RegisterFrontEndCommands(ControlCommands& commands) {
  commands.add("alarm", "alarm CARD oof|red|ais|yel on|off", AlarmCommand);
  commands.add("alarms", "alarms CARD WORD", AlarmsCommand);
  commands.add("counter", "counter CARD 0-3 VALUE", CounterCommand);
  commands.add("status56k", "status56k CARD WORD", Status56KCommand);
  commands.add("frontend", "frontend CARD", FrontEndCommand);
  commands.add("memfail", "memfail CARD FIRST LAST STATUS", MemFailCommand);
}

}  // namespace cardsim
