#pragma once
// Cables between the cards' connectors. Each end is changed under its own
// card's lock, never both at once, so a frame in flight never deadlocks.

#include "cardsim/card.h"

namespace cardsim {

// Connects a and b back to back, unplugging what they had; a with itself is
// a loop-back plug.
void Wire(Card& a, Card& b);
// Pulls the cable out of a, and its other end out of the card it reached.
void Unwire(Card& a);
// The card at the other end of a's cable: a itself for a plug, or none.
Card* CableEnd(Card& a);

}  // namespace cardsim
