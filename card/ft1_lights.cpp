#include "card/ft1_lights.h"

namespace card {

namespace {

struct Step {
  bool byte_b;
  uint8_t bit;
  Ft1Colour colour;
};

struct LampRule {
  Step steps[2];
  size_t count;
};

constexpr Ft1Colour G = Ft1Colour::kGreen;
constexpr Ft1Colour R = Ft1Colour::kRed;

// In the order of Ft1Lamp; each lamp's bits in the unit's own order.
constexpr LampRule kRules[] = {
    {{{true, 0x10, R}, {true, 0x20, G}}, 2},    // INS
    {{{true, 0x04, G}, {true, 0x08, R}}, 2},    // ERR
    {{{true, 0x02, G}}, 1},                     // TXD
    {{{true, 0x01, G}}, 1},                     // RXD
    {{{true, 0x40, G}, {true, 0x80, R}}, 2},    // ST
    {{{false, 0x08, R}}, 1},                    // DL
    {{{false, 0x04, R}}, 1},                    // LL
    {{{false, 0x01, R}, {false, 0x02, G}}, 2},  // RT
};

}  // namespace

Ft1LampSteps Ft1LampStepsOf(const Ft1Status& status, Ft1Lamp lamp) {
  const LampRule& rule = kRules[static_cast<size_t>(lamp)];
  Ft1LampSteps lit;
  for (size_t i = 0; i < rule.count; ++i) {
    const Step& step = rule.steps[i];
    // Every light bit is active low.
    if (((step.byte_b ? status.b : status.a) & step.bit) == 0) lit.colours[lit.count++] = step.colour;
  }
  return lit;
}

Ft1LampColours DecodeFt1Lamps(const Ft1Status& status) {
  Ft1LampColours shown{};
  for (Ft1Lamp lamp : kFt1Lamps) shown[static_cast<size_t>(lamp)] = Ft1LampStepsOf(status, lamp).shown();
  return shown;
}

std::string_view Ft1LampName(Ft1Lamp lamp) {
  constexpr std::string_view kNames[] = {"ins", "err", "txd", "rxd", "st", "dl", "ll", "rt"};
  return kNames[static_cast<size_t>(lamp)];
}

std::string_view Ft1ColourName(Ft1Colour colour) {
  switch (colour) {
    case Ft1Colour::kGreen: return "green";
    case Ft1Colour::kRed: return "red";
    default: return "off";
  }
}

}  // namespace card
