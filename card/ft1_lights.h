#pragma once
// The eight lights of an FT1 unit as one READ_FT1_STATUS sample shows them.
// Every light bit is active low; where two bits drive one light and both are
// lit, the later colour of the unit's own order wins.

#include <array>
#include <cstdint>
#include <string_view>

#include "card/ft1.h"

namespace card {

enum class Ft1Colour { kOff, kGreen, kRed };
enum class Ft1Lamp { kIns, kErr, kTxd, kRxd, kSt, kDl, kLl, kRt };
inline constexpr Ft1Lamp kFt1Lamps[] = {Ft1Lamp::kIns, Ft1Lamp::kErr, Ft1Lamp::kTxd, Ft1Lamp::kRxd,
                                        Ft1Lamp::kSt,  Ft1Lamp::kDl,  Ft1Lamp::kLl,  Ft1Lamp::kRt};

using Ft1LampColours = std::array<Ft1Colour, std::size(kFt1Lamps)>;

// The colours one lamp's lit bits give in one sample, in the unit's order;
// the last one is what shows, none means off.
struct Ft1LampSteps {
  std::array<Ft1Colour, 2> colours{};
  size_t count = 0;

  Ft1Colour shown() const { return count == 0 ? Ft1Colour::kOff : colours[count - 1]; }
};
Ft1LampSteps Ft1LampStepsOf(const Ft1Status& status, Ft1Lamp lamp);

Ft1LampColours DecodeFt1Lamps(const Ft1Status& status);

// "ins", "err", "txd", "rxd", "st", "dl", "ll", "rt".
std::string_view Ft1LampName(Ft1Lamp lamp);
// "off", "green", "red".
std::string_view Ft1ColourName(Ft1Colour colour);

}  // namespace card
