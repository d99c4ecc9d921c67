#include "tools/talvctl/session.h"

#include "driver_if/device_names.h"
#include "driver_if/execute.h"
#include "driver_if/mailbox.h"
#include "tools/talvctl/mailbox_names.h"

namespace talvctl {

int Session::fail(int status, std::string_view text) const {
  err << "talvctl " << command << ": " << text << '\n';
  return status;
}

int Session::refused(uint8_t code, uint8_t rc) const { return refused(RefusalText(code, rc)); }

std::unique_ptr<card::Device> Session::open(std::string_view name, int* status) const {
  if (!IsCardDeviceName(name)) {
    *status = usage("\"" + std::string(name) + "\" is not a device name (TALVSTRM0 to TALVSTRM" +
                    std::to_string(kMaxCards - 1) + ")");
    return nullptr;
  }
  uint32_t error = 0;
  std::unique_ptr<card::Device> device = card::Device::Open(driver, name, &error);
  if (device == nullptr)
    *status = fail(kExitNoDevice, "Cannot open device " + std::string(name) + "! Error code " +
                                      std::to_string(error) +
                                      (error == kErrorDeviceNotFound ? ": no such device." : "."));
  return device;
}

std::string RefusalText(uint8_t code, uint8_t rc) {
  if (IsTimeout(rc))
    return "Command timeout occurred on " + MailboxName(code) + " (return code " + FormatReturnCode(rc) + ")";
  return "Error code " + FormatReturnCode(rc) + " returned on " + MailboxName(code);
}

}  // namespace talvctl
