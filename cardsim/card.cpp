#include "cardsim/card.h"

namespace cardsim {

namespace {

CardState InitialState(const CardDescription& description) {
  CardState state;
  if (description.initial_config) {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    description.initial_config->Write(image);
    state.config = image;
  }
  return state;
}

}  // namespace

Card::Card(CardDescription description, const Firmware& firmware)
    : description_(std::move(description)), firmware_(firmware), state_(InitialState(description_)) {}

bool Card::control(Session& session, uint32_t code, std::span<const uint8_t> in,
                   std::span<uint8_t> out, uint32_t* returned) {
  if (!session.live() || faults_.takeRefusal(code)) return false;
  ControlHandler handler = firmware_.control(code);
  if (handler == nullptr) return false;
  ControlCall call{*this, session, in, out};
  if (!handler(call)) return false;
  if (returned != nullptr) *returned = call.returned;
  return true;
}

void Card::dropConnections() {
  std::function<void()> observer;
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    observer = drop_observer_;
  }
  changed_.notify_all();
  if (observer) observer();
}

void Card::setDropObserver(std::function<void()> observer) {
  std::lock_guard lock(mutex_);
  drop_observer_ = std::move(observer);
}

uint64_t Card::generation() const { return generation_; }

void Card::wake() {
  // Taking the mutex orders the wake after a waiter's last look at its session.
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

Session::Session(Card& card) : card_(card), generation_(card.generation()) { ++card_.sessions_; }

Session::~Session() { --card_.sessions_; }

void Session::cancel() {
  cancelled_ = true;
  card_.wake();
}

bool Session::live() const { return !cancelled_ && card_.generation() == generation_; }

}  // namespace cardsim
