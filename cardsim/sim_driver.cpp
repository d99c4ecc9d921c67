#include "cardsim/sim_driver.h"

namespace cardsim {

namespace {

class SimHandle : public DeviceHandle {
 public:
  explicit SimHandle(Card& card) : session_(card) {}

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    if ((in == nullptr && in_len != 0) || (out == nullptr && out_len != 0)) return false;
    return session_.card().control(session_, code, {static_cast<const uint8_t*>(in), in_len},
                                   {static_cast<uint8_t*>(out), out_len}, returned);
  }

  void cancel() override { session_.cancel(); }

 private:
  Session session_;
};

}  // namespace

std::unique_ptr<DeviceHandle> SimDriver::open(std::string_view name, uint32_t* error) {
  auto index = CardIndexOf(name);
  Card* card = index ? simulator_.card(*index) : nullptr;
  if (card == nullptr) {
    if (error != nullptr) *error = kErrorDeviceNotFound;
    return nullptr;
  }
  return std::make_unique<SimHandle>(*card);
}

}  // namespace cardsim
