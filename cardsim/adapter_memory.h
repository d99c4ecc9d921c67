#pragma once
// The card's on-board memory as IOCTL_READ_MEMORY shows it: 128 KB in which
// the firmware's records sit at fixed offsets and every other byte follows
// a known pattern, so a dump is recognisable.

#include <cstdint>
#include <span>

#include "cardsim/card_description.h"
#include "cardsim/card_state.h"

namespace cardsim {

inline constexpr uint32_t kAdapterMemorySize = 0x20000;
// The most one IOCTL_READ_MEMORY returns.
inline constexpr uint16_t kMaxMemoryRead = 1350;
// The request's status for a range outside the memory or a bad length.
inline constexpr uint8_t kMemoryBadRange = 0x01;

// Where the firmware keeps its records.
inline constexpr uint32_t kMemSignature = 0x00000;     // "TALVSTRM CHDLC STREAMING", NUL
inline constexpr uint32_t kMemCodeVersion = 0x00020;   // the code version, NUL
inline constexpr uint32_t kMemConfiguration = 0x00100; // the StreamingConfig image, 0 until configured
inline constexpr uint32_t kMemOperationalStats = 0x00200;  // ten u32 in OperationalStats order
inline constexpr uint32_t kMemCommsErrors = 0x00240;   // seven u16 in CommsErrorStats order
inline constexpr uint32_t kMemLink = 0x00280;          // comms enabled, DTR, RTS, frames queued
inline constexpr uint32_t kMemFrontEnd = 0x00300;      // T1/E1: alarm word, loop-back bits, pad, four u32 counters; 56K: status word
inline constexpr uint32_t kMemReceiveQueue = 0x0E000;  // u16 frames queued, then the empty buffers
inline constexpr uint32_t kMemReceiveQueueSize = 0x800;

// What every byte outside the records holds.
uint8_t MemoryPattern(uint32_t address);

// out.size() bytes from offset on; the range must lie inside the memory.
void ReadAdapterMemory(const CardDescription& description, const CardState& state, uint32_t offset,
                       std::span<uint8_t> out);

}  // namespace cardsim
