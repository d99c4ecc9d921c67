#include "tests/support/scripted_driver.h"

#include <atomic>

#include "driver_if/ioctl_codes.h"

namespace fake {

namespace {

class ScriptedHandle : public DeviceHandle {
 public:
  explicit ScriptedHandle(ScriptedDriver& driver) : driver_(driver) { ++driver_.open_handles; }
  ~ScriptedHandle() override { --driver_.open_handles; }

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    Request r{code, {}, out_len};
    const auto* p = static_cast<const uint8_t*>(in);
    if (p != nullptr) r.in.assign(p, p + in_len);
    std::lock_guard<std::recursive_mutex> hold(driver_.lock);
    driver_.requests.push_back(r);
    if (cancelled_ || !driver_.answer) return false;
    bool ok = driver_.answer(r, static_cast<uint8_t*>(out), out_len);
    if (ok && returned != nullptr) *returned = static_cast<uint32_t>(out_len);
    return ok;
  }
  void cancel() override { cancelled_ = true; }

 private:
  ScriptedDriver& driver_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace

std::unique_ptr<DeviceHandle> ScriptedDriver::open(std::string_view name, uint32_t* error) {
  opened.emplace_back(name);
  if (open_error != 0) {
    if (error != nullptr) *error = open_error;
    return nullptr;
  }
  return std::make_unique<ScriptedHandle>(*this);
}

std::vector<uint8_t> ScriptedDriver::commands() const {
  std::lock_guard<std::recursive_mutex> hold(lock);
  std::vector<uint8_t> out;
  for (const auto& r : requests)
    if ((r.code == IOCTL_EXEC_CMD || r.code == IOCTL_EXEC_CMD_2K) && r.in.size() > 1)
      out.push_back(r.in[1]);
  return out;
}

}  // namespace fake
