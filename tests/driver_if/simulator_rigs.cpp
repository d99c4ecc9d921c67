// The backends that reach the simulator inside the test process: directly,
// and on Windows through the Win32 backend's system calls.

#include <memory>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "tests/driver_if/backend_rig.h"

#ifdef _WIN32
#include "driver_if/win32_driver.h"
#include "tests/driver_if/simulated_win32_calls.h"
#else
#include "tests/driver_if/socket_rig.h"
#endif

namespace backendtest {

namespace {

class SimulatorRig : public BackendRig {
 public:
  SimulatorRig() : simulator_(cardsim::DemoCards()) {}

  void leaveUnanswered(int card, uint8_t command, bool firmware_timeout) override {
    faults(card).leaveUnanswered(command, firmware_timeout ? cardsim::NoAnswer::kFirmwareTimeout
                                                           : cardsim::NoAnswer::kKeepPreset);
  }
  void forceReturnCode(int card, uint8_t command, uint8_t return_code) override {
    faults(card).forceReturnCode(command, return_code);
  }
  void refuseRequest(int card, uint32_t control_code) override {
    faults(card).refuseRequest(control_code);
  }

 protected:
  cardsim::Faults& faults(int card) { return simulator_.card(card)->faults(); }
  cardsim::Simulator simulator_;
};

class InProcessRig : public SimulatorRig {
 public:
  CardDriver& driver() override { return driver_; }

 private:
  cardsim::SimDriver driver_{simulator_};
};

#ifdef _WIN32
class Win32Rig : public SimulatorRig {
 public:
  CardDriver& driver() override { return driver_; }

 private:
  wintest::SimulatedWin32Calls calls_{simulator_};
  Win32CardDriver driver_{calls_};
};
#endif

}  // namespace

std::vector<Backend> Backends() {
  std::vector<Backend> backends = {{"InProcess", [] { return std::make_unique<InProcessRig>(); }}};
#ifdef _WIN32
  backends.push_back({"Win32", [] { return std::make_unique<Win32Rig>(); }});
#else
  backends.push_back({"Socket", MakeSocketRig});
#endif
  return backends;
}

}  // namespace backendtest
