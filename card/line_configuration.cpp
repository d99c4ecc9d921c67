#include "card/line_configuration.h"

#include "driver_if/requests.h"

namespace card {

uint8_t ConfigureLine(DeviceHandle* handle, TECardConfig& te) {
  te.result = kTeConfigNoVerdict;
  ConfigureTECardCommand(handle, te);
  return te.result;
}

std::string_view NameOf(std::span<const NamedValue> table, uint8_t value) {
  for (const NamedValue& v : table)
    if (v.value == value) return v.name;
  return {};
}

}  // namespace card
