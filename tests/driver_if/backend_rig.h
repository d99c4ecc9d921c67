#pragma once
// One card driver backend in front of the demo cards, for the suite every
// backend must pass, with the faults the suite switches on those cards.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver_if/card_driver.h"

namespace backendtest {

class BackendRig {
 public:
  virtual ~BackendRig() = default;
  virtual CardDriver& driver() = 0;

  // The firmware leaves command unanswered on card; with firmware_timeout
  // return_code becomes 0x7F, else it keeps the caller's preset.
  virtual void leaveUnanswered(int card, uint8_t command, bool firmware_timeout) = 0;
  virtual void forceReturnCode(int card, uint8_t command, uint8_t return_code) = 0;
  // The driver fails every request with this control code on card.
  virtual void refuseRequest(int card, uint32_t control_code) = 0;
};

struct Backend {
  std::string name;
  std::function<std::unique_ptr<BackendRig>()> make;
};

// The backends this platform has: in-process everywhere, then socket or Win32.
std::vector<Backend> Backends();

}  // namespace backendtest
