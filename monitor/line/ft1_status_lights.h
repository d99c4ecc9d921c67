#pragma once
// The FT1 unit's eight status lights decoded from the two status bytes, and
// the trackers that tell steady lights from flashing ones over a period of
// eight samples, from which the test-state text is chosen.

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/form.h"

enum class LightPattern { Steady, FlashingGreen, FlashingRed, Mixed };

// One tracked light: the colour last shown and the changes seen this period.
struct LightTracker {
  ui::LightColour colour = ui::LightColour::Off;
  LightPattern pattern = LightPattern::Steady;
  unsigned green_changes = 0;
  unsigned red_changes = 0;
  unsigned green_to_red = 0;

  void feed(ui::LightColour next);
  void closePeriod();
  // Steady and off: the light took no part in the period.
  bool quiet() const { return pattern == LightPattern::Steady && colour == ui::LightColour::Off; }
};

// Left to right as the window shows them.
enum class Ft1Light { INS, ERR, TXD, RXD, ST, DL, LL, RT };
inline constexpr size_t kFt1LightCount = 8;
using Ft1LightColours = std::array<ui::LightColour, kFt1LightCount>;

inline constexpr int kFt1TextCount = 12;  // index 0 is the empty text

// The text for an index of 0 to 11; index 0 and anything else are empty.
std::string_view Ft1StatusText(int index);

class Ft1StatusTracker {
 public:
  static constexpr unsigned kTicksPerPeriod = 8;

  // Decodes one READ_FT1_STATUS reply (byte A, byte B; lights are active
  // low), feeds the trackers and returns the colour each light shows.
  Ft1LightColours sample(uint8_t a, uint8_t b);

  // Counts one tick, whether or not its read succeeded. Every eighth tick
  // closes the period and returns true with the chosen text in `text_index`.
  bool countTick(int& text_index);

  // Closes the period of every tracker; returns the index of the text that holds.
  int closePeriod();

  const LightTracker& tracker(Ft1Light light) const { return trackers_[static_cast<size_t>(light)]; }

 private:
  int chooseText() const;

  std::array<LightTracker, kFt1LightCount> trackers_{};  // TXD and RXD stay untouched
  unsigned ticks_ = 0;
};
