#include "driver_if/requests.h"

#include "driver_if/ioctl_codes.h"

bool ControlRequest(DeviceHandle* handle, uint32_t code, const void* in, size_t in_len, void* out,
                    size_t out_len) {
  if (handle == nullptr) return false;
  uint32_t returned = 0;
  return handle->control(code, in, in_len, out, out_len, &returned);
}

void ConfigureTECardCommand(DeviceHandle* handle, TECardConfig& config) {
  std::array<uint8_t, TECardConfig::kSize> image{};
  config.Write(image);
  ControlRequest(handle, IOCTL_TE_CONFIG, image.data(), image.size(), image.data(), image.size());
  config = TECardConfig::Read(image);
}

uint8_t SendFrame(DeviceHandle* handle, SendFrameBuffer& buffer) {
  auto& b = buffer.bytes();
  return ControlRequest(handle, IOCTL_SEND_FRAME, b.data(), b.size(), b.data(), b.size())
             ? 0
             : kSendRequestFailed;
}

bool ReceiveFrame(DeviceHandle* handle, ReceivedFrame& frame) {
  auto& b = frame.bytes();
  return ControlRequest(handle, IOCTL_RECEIVE_FRAME, nullptr, 0, b.data(), b.size());
}

void ReadMemory(DeviceHandle* handle, MemoryReadRequest& request) {
  auto& b = request.bytes();
  ControlRequest(handle, IOCTL_READ_MEMORY, b.data(), b.size(), b.data(), b.size());
}

bool ReadHardwareInfo(DeviceHandle* handle, HardwareInfo& info) {
  std::array<uint8_t, HardwareInfo::kSize> image{};
  bool ok = ControlRequest(handle, IOCTL_READ_HARDWARE_INFO, nullptr, 0, image.data(), image.size());
  info = HardwareInfo::Read(image);
  return ok;
}
