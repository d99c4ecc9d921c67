#include "cardsim/cable.h"

#include <utility>

namespace cardsim {

void Wire(Card& a, Card& b) {
  Unwire(a);
  Unwire(b);
  a.withState([&](CardState& st) { st.cable = &b; });
  if (&a != &b) b.withState([&](CardState& st) { st.cable = &a; });
}

void Unwire(Card& a) {
  Card* end = a.withState([](CardState& st) { return std::exchange(st.cable, nullptr); });
  if (end != nullptr && end != &a)
    end->withState([&](CardState& st) {
      if (st.cable == &a) st.cable = nullptr;
    });
}

Card* CableEnd(Card& a) {
  return a.withState([](CardState& st) { return st.cable; });
}

}  // namespace cardsim
