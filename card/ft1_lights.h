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

Ft1LampColours DecodeFt1Lamps(const Ft1Status& status);

// "ins", "err", "txd", "rxd", "st", "dl", "ll", "rt".
std::string_view Ft1LampName(Ft1Lamp lamp);
// "off", "green", "red".
std::string_view Ft1ColourName(Ft1Colour colour);

}  // namespace card
