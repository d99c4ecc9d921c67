#pragma once
// One simulated card: its description, its state behind one mutex, its
// faults, and the dispatch of device control requests to the firmware.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "cardsim/card_description.h"
#include "cardsim/card_state.h"
#include "cardsim/faults.h"
#include "cardsim/firmware.h"
#include "cardsim/session.h"

namespace cardsim {

class Card {
 public:
  explicit Card(CardDescription description, const Firmware& firmware = Firmware::Standard());
  Card(const Card&) = delete;
  Card& operator=(const Card&) = delete;

  const CardDescription& description() const { return description_; }
  const Firmware& firmware() const { return firmware_; }
  Faults& faults() { return faults_; }

  // One device control request of a session. Writes only the first
  // *returned bytes of out; the rest keeps what the caller had there.
  bool control(Session& session, uint32_t code, std::span<const uint8_t> in,
               std::span<uint8_t> out, uint32_t* returned);

  // Runs f(CardState&) with the mutex held, then wakes every waiter.
  template <class F>
  decltype(auto) withState(F&& f) {
    std::lock_guard lock(mutex_);
    struct Notify {
      std::condition_variable& cv;
      ~Notify() { cv.notify_all(); }
    } notify{changed_};
    return f(state_);
  }

  // For handlers that wait: the lock, the state under it, and a wait that
  // ends early (false) when the session ends.
  std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }
  CardState& state(const std::unique_lock<std::mutex>&) { return state_; }
  template <class Pred>
  bool waitUntil(std::unique_lock<std::mutex>& lock, const Session& session,
                 std::chrono::steady_clock::time_point deadline, Pred done) {
    changed_.wait_until(lock, deadline, [&] { return !session.live() || done(); });
    return session.live();
  }

  // Ends every session of the card; the observer (the daemon) closes the
  // card's connections.
  void dropConnections();
  void setDropObserver(std::function<void()> observer);
  uint64_t generation() const;
  // Sessions alive on the card: open in-process handles and connections.
  int openSessions() const { return sessions_; }

  // Wakes every waiter so it can look at its session again.
  void wake();

 private:
  const CardDescription description_;
  const Firmware& firmware_;
  Faults faults_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  CardState state_;
  // Bumped under the mutex so a waiter never misses it; read without it.
  std::atomic<uint64_t> generation_{0};
  std::function<void()> drop_observer_;
  std::atomic<int> sessions_{0};
  friend class Session;
};

}  // namespace cardsim
