#include "cardsim/simulator.h"

namespace cardsim {

Simulator::Simulator(const std::vector<CardSpec>& cards, const Firmware& firmware) {
  for (const auto& spec : cards)
    if (spec.index >= 0 && spec.index < kMaxCards)
      cards_[spec.index] = std::make_unique<Card>(spec, firmware);
}

Card* Simulator::card(int index) {
  if (index < 0 || index >= kMaxCards) return nullptr;
  return cards_[index].get();
}

std::vector<int> Simulator::indices() const {
  std::vector<int> present;
  for (int i = 0; i < kMaxCards; ++i)
    if (cards_[i]) present.push_back(i);
  return present;
}

}  // namespace cardsim
