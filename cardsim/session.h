#pragma once
// One open handle on a card: an in-process handle or one daemon connection.
// A session ends when its handle is cancelled or when the card drops every
// connection; from then on each of its requests fails, and a request
// waiting inside the card is released.

#include <atomic>
#include <cstdint>

namespace cardsim {

class Card;

class Session {
 public:
  explicit Session(Card& card);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Card& card() const { return card_; }
  // Safe from any thread.
  void cancel();
  bool live() const;

 private:
  Card& card_;
  const uint64_t generation_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace cardsim
