#include "card/ft1_lights.h"

namespace card {

namespace {

bool Lit(uint8_t byte, uint8_t bit) { return (byte & bit) == 0; }

// A light with a bit for each colour, the second applied after the first.
Ft1Colour TwoBit(uint8_t byte, uint8_t first_bit, Ft1Colour first, uint8_t second_bit, Ft1Colour second) {
  if (Lit(byte, second_bit)) return second;
  if (Lit(byte, first_bit)) return first;
  return Ft1Colour::kOff;
}

Ft1Colour OneBit(uint8_t byte, uint8_t bit, Ft1Colour colour) { return Lit(byte, bit) ? colour : Ft1Colour::kOff; }

}  // namespace

Ft1LampColours DecodeFt1Lamps(const Ft1Status& s) {
  using enum Ft1Colour;
  return {
      TwoBit(s.b, 0x10, kRed, 0x20, kGreen),  // INS
      TwoBit(s.b, 0x04, kGreen, 0x08, kRed),  // ERR
      OneBit(s.b, 0x02, kGreen),              // TXD
      OneBit(s.b, 0x01, kGreen),              // RXD
      TwoBit(s.b, 0x40, kGreen, 0x80, kRed),  // ST
      OneBit(s.a, 0x08, kRed),                // DL
      OneBit(s.a, 0x04, kRed),                // LL
      TwoBit(s.a, 0x01, kRed, 0x02, kGreen),  // RT
  };
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
