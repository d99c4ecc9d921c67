#include "monitor/line/ft1_status_lights.h"

#include "card/ft1_lights.h"

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

constexpr LightColour G = LightColour::Green;
constexpr LightColour R = LightColour::Red;

LightColour ColourOf(card::Ft1Colour colour) {
  switch (colour) {
    case card::Ft1Colour::kGreen: return G;
    case card::Ft1Colour::kRed: return R;
    default: return LightColour::Off;
  }
}

// TXD and RXD only flicker with traffic: they choose no text.
bool Tracked(card::Ft1Lamp lamp) { return lamp != card::Ft1Lamp::kTxd && lamp != card::Ft1Lamp::kRxd; }

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
  for (card::Ft1Lamp lamp : card::kFt1Lamps) {
    const size_t index = static_cast<size_t>(lamp);
    const card::Ft1LampSteps lit = card::Ft1LampStepsOf({a, b}, lamp);
    // Each lit bit is a change the tracker sees, in the unit's order.
    if (Tracked(lamp)) {
      for (size_t i = 0; i < lit.count; ++i) trackers_[index].feed(ColourOf(lit.colours[i]));
      if (lit.count == 0) trackers_[index].feed(LightColour::Off);
    }
    shown[index] = ColourOf(lit.shown());
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
