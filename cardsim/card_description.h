#pragma once
// What a simulated card is: its device, its bus resources, its line side,
// and how it starts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver_if/records.h"

namespace cardsim {

// Values as READ_FRONT_END_TYPE reports them.
enum class FrontEnd : uint8_t { kNone = 0, kT1 = 1, kE1 = 2, k56K = 3 };

struct CardDescription {
  int index = 0;  // TALVSTRM<index>
  HardwareInfo hardware;
  FrontEnd front_end = FrontEnd::kNone;
  bool ft1_unit = false;  // an FT1 service unit on a plain serial line
  std::string code_version = "4.15";
  // A card that starts configured answers the configuration read at once.
  std::optional<StreamingConfig> initial_config;
  // A loop-back plug in the connector: what the card sends comes back to it.
  bool loop_back_plug = false;
};

// TALVSTRM0 ISA with an FT1 unit and a loop-back plug, TALVSTRM1 PCI T1,
// TALVSTRM2 PCI E1, TALVSTRM3 PCI 56K; the others unplugged.
std::vector<CardDescription> DemoCards();

// One card line, e.g. "TALVSTRM1 pci bus=0 slot=9 cpu=A port=primary t1".
bool ParseCardLine(std::string_view line, CardDescription* description, std::string* error);

// A card file: one card line per line, blank lines and '#' comments ignored,
// for example
//   # the demo set's first two cards
//   TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 ft1
//   TALVSTRM1 pci bus=0 slot=9 cpu=A port=primary t1 baud=1536000
// The error names the line number.
bool ParseCardFile(std::string_view text, std::vector<CardDescription>* cards, std::string* error);

// At least one card, each device at most once.
bool CheckCardSet(const std::vector<CardDescription>& cards, std::string* error);

// The card line syntax, for the daemon's help text.
std::string_view CardLineSyntax();

}  // namespace cardsim
