#pragma once
// The set of simulated cards, TALVSTRM0 .. TALVSTRM15, each present or not.

#include <array>
#include <memory>
#include <vector>

#include "cardsim/card.h"
#include "cardsim/card_description.h"
#include "driver_if/device_names.h"

namespace cardsim {

class Simulator {
 public:
  // Cards as CheckCardSet accepts them; a later card on the same device replaces the earlier.
  explicit Simulator(const std::vector<CardDescription>& cards,
                     const Firmware& firmware = Firmware::Standard());

  // Null for an absent card or an index outside 0..15.
  Card* card(int index);
  // The present cards' indices, ascending.
  std::vector<int> indices() const;

 private:
  std::array<std::unique_ptr<Card>, kMaxCards> cards_;
};

}  // namespace cardsim
