#pragma once
// A card driver whose answers a test writes as a function, and which records
// every request it was sent. Requests are taken one at a time, so a reception
// thread may talk to it while the test reads what was sent.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "driver_if/card_driver.h"

namespace fake {

struct Request {
  uint32_t code;
  std::vector<uint8_t> in;
  size_t out_len;
};

class ScriptedDriver : public CardDriver {
 public:
  // Fills out (already holding the caller's bytes) and returns the success
  // flag; the default answers nothing and fails.
  using Answer = std::function<bool(const Request&, uint8_t* out, size_t out_len)>;

  Answer answer;
  uint32_t open_error = 0;  // non-zero fails every open with this code
  std::vector<Request> requests;
  std::vector<std::string> opened;
  int open_handles = 0;

  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override;

  // The mailbox commands sent, in order (byte 1 of each EXEC request).
  std::vector<uint8_t> commands() const;

  // Held while a request is recorded and answered.
  mutable std::recursive_mutex lock;
};

}  // namespace fake
