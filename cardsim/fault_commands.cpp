// Control commands that switch a card's faults.

#include <chrono>

#include "cardsim/control_commands.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

// The optional TIMES word at args[at]; the rule holds for good without it.
bool TimesArg(Args args, size_t at, int* times) {
  if (args.size() <= at) {
    *times = Faults::kAlways;
    return true;
  }
  uint32_t n = 0;
  if (!ParseCtlNumber(args[at], 1'000'000, &n)) return false;
  *times = static_cast<int>(n);
  return true;
}

// Card and command byte from the first two words.
bool CardAndCommand(Simulator& sim, Args args, Card** card, uint8_t* command) {
  uint32_t value = 0;
  if (args.size() < 2 || !ParseCtlNumber(args[1], 0xFF, &value)) return false;
  *card = FindCard(sim, args[0]);
  *command = static_cast<uint8_t>(value);
  return *card != nullptr;
}

CtlReply NoAnswerCommand(Simulator& sim, Args args) {
  Card* card;
  uint8_t command;
  int times;
  if (!CardAndCommand(sim, args, &card, &command)) return CtlError("bad card or command");
  NoAnswer how = NoAnswer::kKeepPreset;
  if (args.size() > 2 && args[2] == "7f")
    how = NoAnswer::kFirmwareTimeout;
  else if (args.size() > 2 && args[2] != "preset")
    return CtlError("expected preset or 7f");
  if (!TimesArg(args, 3, &times)) return CtlError("bad count");
  card->faults().leaveUnanswered(command, how, times);
  return CtlOk();
}

CtlReply ReturnCodeCommand(Simulator& sim, Args args) {
  Card* card;
  uint8_t command;
  uint32_t rc = 0;
  int times;
  if (!CardAndCommand(sim, args, &card, &command)) return CtlError("bad card or command");
  if (args.size() < 3 || !ParseCtlNumber(args[2], 0xFF, &rc)) return CtlError("bad return code");
  if (!TimesArg(args, 3, &times)) return CtlError("bad count");
  card->faults().forceReturnCode(command, static_cast<uint8_t>(rc), times);
  return CtlOk();
}

CtlReply DelayCommand(Simulator& sim, Args args) {
  Card* card;
  uint8_t command;
  uint32_t ms = 0;
  int times;
  if (!CardAndCommand(sim, args, &card, &command)) return CtlError("bad card or command");
  if (args.size() < 3 || !ParseCtlNumber(args[2], 3'600'000, &ms)) return CtlError("bad delay");
  if (!TimesArg(args, 3, &times)) return CtlError("bad count");
  card->faults().delayReply(command, std::chrono::milliseconds(ms), times);
  return CtlOk();
}

CtlReply RefuseCommand(Simulator& sim, Args args) {
  uint32_t code = 0;
  int times;
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  if (args.size() < 2 || !ParseCtlNumber(args[1], UINT32_MAX, &code))
    return CtlError("bad control code");
  if (!TimesArg(args, 2, &times)) return CtlError("bad count");
  card->faults().refuseRequest(code, times);
  return CtlOk();
}

CtlReply DropCommand(Simulator& sim, Args args) {
  Card* card = args.size() == 1 ? FindCard(sim, args[0]) : nullptr;
  if (card == nullptr) return CtlError("bad card");
  card->dropConnections();
  return CtlOk();
}

CtlReply ClearCommand(Simulator& sim, Args args) {
  Card* card = args.size() == 1 ? FindCard(sim, args[0]) : nullptr;
  if (card == nullptr) return CtlError("bad card");
  card->faults().clear();
  return CtlOk();
}

}  // namespace

void RegisterFaultCommands(ControlCommands& commands) {
  commands.add("noanswer", "noanswer CARD COMMAND [preset|7f] [TIMES]", NoAnswerCommand);
  commands.add("rc", "rc CARD COMMAND RC [TIMES]", ReturnCodeCommand);
  commands.add("delay", "delay CARD COMMAND MS [TIMES]", DelayCommand);
  commands.add("refuse", "refuse CARD CONTROL_CODE [TIMES]", RefuseCommand);
  commands.add("drop", "drop CARD", DropCommand);
  commands.add("clear", "clear CARD", ClearCommand);
}

}  // namespace cardsim
