#pragma once
// Devices served by the card simulator daemon: device NAME is the AF_UNIX
// stream socket <dir>/NAME, one connection per open handle.

#include <memory>
#include <string>

#include "driver_if/card_driver.h"

// $TALVSTRM_DIR, else $XDG_RUNTIME_DIR/talvstrm, else /tmp/talvstrm-<uid>.
std::string DefaultDeviceDirectory();

class SocketCardDriver : public CardDriver {
 public:
  explicit SocketCardDriver(std::string directory = DefaultDeviceDirectory());
  // A name that is not a card device, a missing socket or one nobody serves
  // fails with kErrorDeviceNotFound; other failures with their errno.
  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override;

 private:
  std::string directory_;
};
