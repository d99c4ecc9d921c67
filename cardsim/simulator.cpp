#include "cardsim/simulator.h"

#include "cardsim/cable.h"

namespace cardsim {

Simulator::Simulator(const std::vector<CardDescription>& cards, const Firmware& firmware) {
  for (const auto& description : cards)
    if (description.index >= 0 && description.index < kMaxCards)
      cards_[description.index] = std::make_unique<Card>(description, firmware);
  for (auto& card : cards_)
    if (card && card->description().loop_back_plug) Wire(*card, *card);
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
