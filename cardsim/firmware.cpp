#include "cardsim/firmware.h"

namespace cardsim {

namespace {

Firmware BuildStandard() {
  Firmware firmware;
  RegisterMailboxRequests(firmware);
  RegisterHardwareInfo(firmware);
  RegisterChdlcCommands(firmware);
  RegisterLineConfiguration(firmware);
  RegisterFt1Unit(firmware);
  RegisterFrontEnd(firmware);
  RegisterAdapterMemory(firmware);
  RegisterFramePath(firmware);
  return firmware;
}

}  // namespace

const Firmware& Firmware::Standard() {
  static const Firmware firmware = BuildStandard();
  return firmware;
}

void Firmware::addControl(uint32_t code, ControlHandler handler) {
  for (auto& entry : controls_) {
    if (entry.first == code) {
      entry.second = handler;
      return;
    }
  }
  controls_.emplace_back(code, handler);
}

ControlHandler Firmware::control(uint32_t code) const {
  for (const auto& entry : controls_)
    if (entry.first == code) return entry.second;
  return nullptr;
}

}  // namespace cardsim
