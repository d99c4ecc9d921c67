// Control commands that plug cables between the cards' connectors.

#include "cardsim/cable.h"
#include "cardsim/control_commands.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

CtlReply WireCommand(Simulator& sim, Args args) {
  if (args.size() != 2) return CtlError("usage: wire CARD CARD");
  Card* a = FindCard(sim, args[0]);
  Card* b = FindCard(sim, args[1]);
  if (a == nullptr || b == nullptr) return CtlError("bad card");
  Wire(*a, *b);
  return CtlOk();
}

CtlReply UnwireCommand(Simulator& sim, Args args) {
  Card* card = args.size() == 1 ? FindCard(sim, args[0]) : nullptr;
  if (card == nullptr) return CtlError("bad card");
  Unwire(*card);
  return CtlOk();
}

}  // namespace

void RegisterCableCommands(ControlCommands& commands) {
  commands.add("wire", "wire CARD CARD (a cable; the same card twice: a loop-back plug)", WireCommand);
  commands.add("unwire", "unwire CARD", UnwireCommand);
}

}  // namespace cardsim
