// Control commands that show which cards are served and what state they are in.

#include "cardsim/control_commands.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

CtlReply CardsCommand(Simulator& sim, Args) {
  std::string text;
  for (int index : sim.indices()) text += (text.empty() ? "" : " ") + CardDeviceName(index);
  return CtlOk(text);
}

CtlReply StateCommand(Simulator& sim, Args args) {
  Card* card = args.size() == 1 ? FindCard(sim, args[0]) : nullptr;
  if (card == nullptr) return CtlError("bad card");
  std::string state = card->withState([](const CardState& s) {
    auto flag = [](bool b) { return b ? "1" : "0"; };
    return std::string("configured=") + flag(s.config.has_value()) +
           " comms=" + flag(s.comms_enabled) + " dtr=" + flag(s.dtr) + " rts=" + flag(s.rts);
  });
  return CtlOk(state + " handles=" + std::to_string(card->openSessions()));
}

}  // namespace

void RegisterStateCommands(ControlCommands& commands) {
  commands.add("cards", "cards", CardsCommand);
  commands.add("state", "state CARD", StateCommand);
}

}  // namespace cardsim
