#pragma once
// One-call wrappers around the device control requests that do not carry a
// mailbox command. A null handle stands for a closed device: every request fails.

#include <cstdint>

#include "driver_if/card_driver.h"
#include "driver_if/records.h"

// The send wrapper's own failure value; callers show result 1 instead.
inline constexpr uint8_t kSendRequestFailed = 0x7D;

bool ControlRequest(DeviceHandle* handle, uint32_t code, const void* in, size_t in_len, void* out,
                    size_t out_len);

// Sends the record in and out of IOCTL_TE_CONFIG; the verdict is config.result.
void ConfigureTECardCommand(DeviceHandle* handle, TECardConfig& config);

// 0 when the request succeeded, kSendRequestFailed when it failed.
uint8_t SendFrame(DeviceHandle* handle, SendFrameBuffer& buffer);

bool ReceiveFrame(DeviceHandle* handle, ReceivedFrame& frame);

// The verdict is request.status().
void ReadMemory(DeviceHandle* handle, MemoryReadRequest& request);

// Clears info before asking, so a short reply never shows stale values.
bool ReadHardwareInfo(DeviceHandle* handle, HardwareInfo& info);
