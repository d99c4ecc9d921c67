// Control commands for a card's frame path: the load generator and
// refused sends.

#include <cstdio>

#include "cardsim/control_commands.h"
#include "cardsim/frame_path.h"

namespace cardsim {

namespace {

using Args = ControlCommands::Args;

constexpr uint32_t kMaxRate = 1'000'000;

std::string Report(Card& card) {
  GeneratorReport r = ReadGenerator(card);
  char text[200];
  std::snprintf(text, sizeof text,
                "%s rate=%u size=%u pattern=0x%02X count=%llu offered=%llu handed_out=%llu queued=%zu "
                "overflowed=%llu",
                r.on ? "on" : "off", r.settings.rate, r.settings.size, r.settings.pattern,
                static_cast<unsigned long long>(r.settings.count),
                static_cast<unsigned long long>(r.offered),
                static_cast<unsigned long long>(r.handed_out), r.queued,
                static_cast<unsigned long long>(r.overflowed));
  return text;
}

CtlReply GenerateCommand(Simulator& sim, Args args) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  if (args.size() == 1) return CtlOk(Report(*card));
  if (args.size() == 2 && args[1] == "off") {
    StopGenerator(*card);
    return CtlOk(Report(*card));
  }
  GeneratorSettings s;
  uint32_t rate = 0, size = 0, count = 0, pattern = s.pattern;
  if (args.size() < 3 || args.size() > 5 || !ParseCtlNumber(args[1], kMaxRate, &rate))
    return CtlError("bad rate");
  if (!ParseCtlNumber(args[2], kMaxGeneratedSize, &size)) return CtlError("bad size");
  if (args.size() > 3 && !ParseCtlNumber(args[3], UINT32_MAX, &count)) return CtlError("bad count");
  if (args.size() > 4 && !ParseCtlNumber(args[4], 0xFF, &pattern)) return CtlError("bad pattern");
  s.rate = rate;
  s.size = static_cast<uint16_t>(size);
  s.count = count;
  s.pattern = static_cast<uint8_t>(pattern);
  StartGenerator(*card, s);
  return CtlOk(Report(*card));
}

CtlReply SendFailCommand(Simulator& sim, Args args) {
  Card* card = args.empty() ? nullptr : FindCard(sim, args[0]);
  if (card == nullptr) return CtlError("bad card");
  if (args.size() == 2 && args[1] == "off") {
    FailSends(*card, 0, 0);
    return CtlOk();
  }
  uint32_t result = 0, times = 0;
  if (args.size() < 2 || args.size() > 3 || !ParseCtlNumber(args[1], 0xFF, &result) || result == 0)
    return CtlError("bad result");
  if (args.size() == 3 && (!ParseCtlNumber(args[2], 1'000'000, &times) || times == 0))
    return CtlError("bad count");
  FailSends(*card, static_cast<uint8_t>(result), args.size() == 3 ? static_cast<int>(times) : -1);
  return CtlOk();
}

}  // namespace

void RegisterFrameCommands(ControlCommands& commands) {
  commands.add("gen", "gen CARD [RATE SIZE [COUNT [PATTERN]] | off]", GenerateCommand);
  commands.add("sendfail", "sendfail CARD RESULT [TIMES] | sendfail CARD off", SendFailCommand);
}

}  // namespace cardsim
