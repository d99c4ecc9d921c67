#pragma once
// Device control codes of the card driver and the buffer sizes each one takes.

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t IOCTL_EXEC_CMD = 0x220028;
inline constexpr uint32_t IOCTL_SEND_FRAME = 0x22002E;
inline constexpr uint32_t IOCTL_RECEIVE_FRAME = 0x220031;
inline constexpr uint32_t IOCTL_READ_HARDWARE_INFO = 0x220034;
inline constexpr uint32_t IOCTL_TE_CONFIG = 0x220038;
inline constexpr uint32_t IOCTL_EXEC_CMD_2K = 0x22003C;
inline constexpr uint32_t IOCTL_READ_MEMORY = 0x220040;

inline constexpr size_t kCommandBlockSize = 2048;
inline constexpr size_t kCommandHeaderSize = 16;
inline constexpr size_t kCommandDataSize = kCommandBlockSize - kCommandHeaderSize;  // 2032
inline constexpr size_t kExecCmdOutputSize = 1016;
inline constexpr size_t kExecCmdMaxReply = kExecCmdOutputSize - kCommandHeaderSize;  // 1000
inline constexpr size_t kExecCmd2KMaxReply = kCommandDataSize;                        // 2032
inline constexpr size_t kTECardConfigSize = 16;
inline constexpr size_t kSendFrameBufferSize = 15358;
inline constexpr size_t kReceivedFrameSize = 14000;
inline constexpr size_t kMemoryReadRequestSize = 2012;
inline constexpr size_t kHardwareInfoSize = 26;
