// Control commands that show which cards are served and what state they are in.

#include <cstdio>

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
    std::string text = std::string("configured=") + flag(s.config.has_value()) +
                       " comms=" + flag(s.comms_enabled) + " dtr=" + flag(s.dtr) + " rts=" + flag(s.rts);
    if (s.config) {
      const StreamingConfig c = StreamingConfig::Read(*s.config);
      text += " max_frame_size=" + std::to_string(c.max_frame_size) + " modem_options=" +
              std::to_string(c.modem_options) + " statistics_options=" + std::to_string(c.statistics_options);
    }
    if (s.te_config) {
      const TECardConfig& t = *s.te_config;
      char line[160];
      std::snprintf(line, sizeof line,
                    " media=%u line_decoding=%u framing=%u line_build_out=%u clocking=%u channels=0x%08X",
                    t.media_type, t.line_decoding, t.framing, t.line_build_out, t.clocking,
                    t.active_channels);
      text += line;
    }
    return text;
  });
  return CtlOk(state + " handles=" + std::to_string(card->openSessions()));
}

}  // namespace

void RegisterStateCommands(ControlCommands& commands) {
  commands.add("cards", "cards", CardsCommand);
  commands.add("state", "state CARD", StateCommand);
}

}  // namespace cardsim
