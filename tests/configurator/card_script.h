#pragma once
// Scripted cards for the configurator tests: which devices open, and what
// each answers to the hardware information request.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "driver_if/records.h"
#include "tests/support/scripted_driver.h"

namespace cfgtest {

class CardScript : public CardDriver {
 public:
  CardScript();

  // A card at index that answers with info, or (nullopt) fails the request.
  void addCard(int index, std::optional<HardwareInfo> info);

  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override;

  fake::ScriptedDriver driver;  // records the requests and open handles

 private:
  std::map<std::string, std::optional<HardwareInfo>> cards_;
  std::string current_;
};

HardwareInfo IsaCard(uint32_t io_port, uint32_t memory_base, uint32_t irq);
HardwareInfo PciCard(uint32_t bus, uint32_t slot, uint16_t cpu, uint16_t comm_port);

}  // namespace cfgtest
