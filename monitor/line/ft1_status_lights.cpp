#include "monitor/line/ft1_status_lights.h"

using ui::LightColour;

void LightTracker::feed(LightColour next) {
  if (next == colour) return;
  if (colour == LightColour::Green && next == LightColour::Red) ++green_to_red;
  else if (next == LightColour::Green || colour == LightColour::Green) ++green_changes;
  else ++red_changes;  // Off to Red, Red to Off
  colour = next;
}

void LightTracker::closePeriod() {
  if (green_changes == 0 && red_changes == 0 && green_to_red == 0) pattern = LightPattern::Steady;
  else if (red_changes == 0 && green_to_red == 0) pattern = LightPattern::FlashingGreen;
  else if (green_changes == 0 && green_to_red == 0) pattern = LightPattern::FlashingRed;
  else pattern = LightPattern::Mixed;
  green_changes = red_changes = green_to_red = 0;
}

namespace {

struct Step {
  bool byte_b;
  uint8_t bit;
  LightColour colour;
};

struct LightRule {
  Ft1Light light;
  bool tracked;
  Step steps[2];
  int step_count;
};

constexpr LightColour G = LightColour::Green;
constexpr LightColour R = LightColour::Red;

// In the order the lights are decoded; a light whose bits are all 1 is off.
constexpr LightRule kRules[] = {
    {Ft1Light::INS, true, {{true, 0x10, R}, {true, 0x20, G}}, 2},
    {Ft1Light::ERR, true, {{true, 0x04, G}, {true, 0x08, R}}, 2},
    {Ft1Light::TXD, false, {{true, 0x02, G}}, 1},
    {Ft1Light::RXD, false, {{true, 0x01, G}}, 1},
    {Ft1Light::ST, true, {{true, 0x40, G}, {true, 0x80, R}}, 2},
    {Ft1Light::DL, true, {{false, 0x08, R}}, 1},
    {Ft1Light::LL, true, {{false, 0x04, R}}, 1},
    {Ft1Light::RT, true, {{false, 0x01, R}, {false, 0x02, G}}, 2},
};

// What a condition asks of one light.
enum class Want { Any, Quiet, FlashingRed, FlashingGreen, Mixed, SteadyGreen, SteadyRed };

bool Holds(Want want, const LightTracker& t) {
  switch (want) {
    case Want::Any: return true;
    case Want::Quiet: return t.quiet();
    case Want::FlashingRed: return t.pattern == LightPattern::FlashingRed;
    case Want::FlashingGreen: return t.pattern == LightPattern::FlashingGreen;
    case Want::Mixed: return t.pattern == LightPattern::Mixed;
    case Want::SteadyGreen: return t.pattern == LightPattern::Steady && t.colour == G;
    case Want::SteadyRed: return t.pattern == LightPattern::Steady && t.colour == R;
  }
  return false;
}

struct Condition {
  int text;
  Want ins, err, st, dl, ll, rt;
};

using W = Want;
// The conditions exclude one another; none holding gives the empty text.
constexpr Condition kConditions[] = {
    {1, W::Any, W::Any, W::FlashingRed, W::Quiet, W::Quiet, W::Quiet},
    {2, W::Any, W::Any, W::FlashingGreen, W::Quiet, W::Quiet, W::Quiet},
    {3, W::FlashingRed, W::SteadyRed, W::Quiet, W::FlashingRed, W::Quiet, W::Quiet},
    {4, W::SteadyGreen, W::Quiet, W::Quiet, W::FlashingRed, W::Quiet, W::Quiet},
    {5, W::Mixed, W::Any, W::Quiet, W::Quiet, W::FlashingRed, W::Quiet},
    {6, W::SteadyGreen, W::Any, W::Quiet, W::Quiet, W::FlashingRed, W::Quiet},
    {7, W::Any, W::Any, W::Quiet, W::Quiet, W::Quiet, W::FlashingRed},
    {8, W::Any, W::Any, W::Quiet, W::Quiet, W::Quiet, W::FlashingGreen},
    {9, W::Any, W::Any, W::Quiet, W::Quiet, W::Quiet, W::SteadyGreen},
    {10, W::SteadyGreen, W::Any, W::Quiet, W::Quiet, W::Quiet, W::Quiet},
    {11, W::FlashingRed, W::SteadyRed, W::Quiet, W::Quiet, W::Quiet, W::Quiet},
};

}  // namespace

Ft1LightColours Ft1StatusTracker::sample(uint8_t a, uint8_t b) {
  Ft1LightColours shown{};
  for (const LightRule& rule : kRules) {
    LightTracker& tracker = trackers_[static_cast<size_t>(rule.light)];
    LightColour colour = LightColour::Off;
    bool lit = false;
    for (int i = 0; i < rule.step_count; ++i) {
      const Step& step = rule.steps[i];
      if (((step.byte_b ? b : a) & step.bit) != 0) continue;
      colour = step.colour;
      lit = true;
      if (rule.tracked) tracker.feed(colour);
    }
    if (!lit && rule.tracked) tracker.feed(LightColour::Off);
    shown[static_cast<size_t>(rule.light)] = colour;
  }
  return shown;
}

bool Ft1StatusTracker::countTick(int& text_index) {
  if (++ticks_ < kTicksPerPeriod) return false;
  ticks_ = 0;
  text_index = closePeriod();
  return true;
}

int Ft1StatusTracker::closePeriod() {
  for (LightTracker& t : trackers_) t.closePeriod();
  return chooseText();
}

int Ft1StatusTracker::chooseText() const {
  using L = Ft1Light;
  for (const Condition& c : kConditions)
    if (Holds(c.ins, tracker(L::INS)) && Holds(c.err, tracker(L::ERR)) && Holds(c.st, tracker(L::ST)) &&
        Holds(c.dl, tracker(L::DL)) && Holds(c.ll, tracker(L::LL)) && Holds(c.rt, tracker(L::RT)))
      return c.text;
  return 0;
}
