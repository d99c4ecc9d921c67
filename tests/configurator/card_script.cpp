#include "tests/configurator/card_script.h"

#include "driver_if/device_names.h"
#include "driver_if/ioctl_codes.h"

namespace cfgtest {

CardScript::CardScript() {
  driver.answer = [this](const fake::Request& r, uint8_t* out, size_t out_len) {
    auto card = cards_.find(current_);
    if (r.code != IOCTL_READ_HARDWARE_INFO || card == cards_.end() || !card->second) return false;
    if (out_len < HardwareInfo::kSize) return false;
    card->second->Write(std::span(out, HardwareInfo::kSize));
    return true;
  };
}

void CardScript::addCard(int index, std::optional<HardwareInfo> info) {
  cards_[CardDeviceName(index)] = info;
}

std::unique_ptr<DeviceHandle> CardScript::open(std::string_view name, uint32_t* error) {
  if (!cards_.count(std::string(name))) {
    *error = kErrorDeviceNotFound;
    driver.opened.emplace_back(name);
    return nullptr;
  }
  current_ = name;
  return driver.open(name, error);
}

HardwareInfo IsaCard(uint32_t io_port, uint32_t memory_base, uint32_t irq) {
  HardwareInfo info;
  info.card_type = HardwareInfo::kIsaCard;
  info.io_port = io_port;
  info.memory_base = memory_base;
  info.irq = irq;
  return info;
}

HardwareInfo PciCard(uint32_t bus, uint32_t slot, uint16_t cpu, uint16_t comm_port) {
  HardwareInfo info;
  info.card_type = HardwareInfo::kPciCard;
  info.bus_number = bus;
  info.slot_number = slot;
  info.cpu = cpu;
  info.comm_port = comm_port;
  return info;
}

}  // namespace cfgtest
