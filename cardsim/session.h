#pragma once
// One open handle on a card: an in-process handle or one daemon connection.
// A session ends when its handle is cancelled or when the card drops every
// connection; from then on each of its requests fails, and a request
// waiting inside the card is released.

#include <atomic>
#include <cstddef>
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

  // How many receive requests, from the one served next, were already with
  // the card when the one before them was answered, as a driver holds
  // requests queued. Only the thread serving the session uses it.
  size_t queued() const { return queued_; }
  void setQueued(size_t queued) { queued_ = queued; }

 private:
  Card& card_;
  const uint64_t generation_;
  std::atomic<bool> cancelled_{false};
  size_t queued_ = 0;
};

}  // namespace cardsim
