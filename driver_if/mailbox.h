#pragma once
// Mailbox command codes of the card firmware and the return codes callers
// interpret. Both the monitor and the card simulator speak this vocabulary.

#include <cstddef>
#include <cstdint>

// CHDLC commands
inline constexpr uint8_t READ_GLOBAL_STATISTICS = 0x04;
inline constexpr uint8_t SET_MODEM_STATUS = 0x06;
inline constexpr uint8_t READ_MODEM_STATUS = 0x07;
inline constexpr uint8_t READ_COMMS_ERROR_STATS = 0x08;
inline constexpr uint8_t FLUSH_COMMS_ERROR_STATS = 0x09;
inline constexpr uint8_t READ_CODE_VERSION = 0x20;
inline constexpr uint8_t SET_CHDLC_CONFIGURATION = 0x22;
inline constexpr uint8_t READ_CHDLC_CONFIGURATION = 0x23;
inline constexpr uint8_t ENABLE_CHDLC_COMMUNICATIONS = 0x24;
inline constexpr uint8_t DISABLE_CHDLC_COMMUNICATIONS = 0x25;
inline constexpr uint8_t READ_CHDLC_LINK_STATUS = 0x26;
inline constexpr uint8_t READ_CHDLC_OPERATIONAL_STATS = 0x27;
inline constexpr uint8_t FLUSH_CHDLC_OPERATIONAL_STATS = 0x28;

// Line utility commands (integrated FT1, T1, E1 and 56K service units)
inline constexpr uint8_t SET_FT1_CONFIGURATION = 0x18;
inline constexpr uint8_t READ_FT1_CONFIGURATION = 0x19;
inline constexpr uint8_t SEND_FT1_CHARACTER = 0x1A;
inline constexpr uint8_t READ_FT1_CHARACTERS = 0x1B;
inline constexpr uint8_t SET_FT1_MONITOR_FLAGS = 0x1C;
inline constexpr uint8_t READ_FT1_OPERATIONAL_STATS = 0x1D;
inline constexpr uint8_t FT1_SELECT = 0x1E;
inline constexpr uint8_t READ_FT1_STATUS = 0x54;
inline constexpr uint8_t READ_FRONT_END_ALARMS = 0x62;
inline constexpr uint8_t READ_FRONT_END_TYPE = 0x63;
inline constexpr uint8_t FLUSH_FRONT_END_COUNTERS = 0x64;
inline constexpr uint8_t READ_FRONT_END_REGISTER = 0x65;
inline constexpr uint8_t ACTIVATE_LINELB_MODE = 0xA0;
inline constexpr uint8_t DEACTIVATE_LINELB_MODE = 0xA1;
inline constexpr uint8_t ACTIVATE_PAYLB_MODE = 0xA2;
inline constexpr uint8_t DEACTIVATE_PAYLB_MODE = 0xA3;
inline constexpr uint8_t ACTIVATE_DDLB_MODE = 0xA4;
inline constexpr uint8_t DEACTIVATE_DDLB_MODE = 0xA5;
inline constexpr uint8_t ACTIVATE_LB_MODE = 0xA6;
inline constexpr uint8_t DEACTIVATE_LB_MODE = 0xA7;

// Return codes
inline constexpr uint8_t RC_OK = 0x00;
inline constexpr uint8_t RC_NO_FT1_ADAPTER = 0x06;
inline constexpr uint8_t RC_FT1_STATS_OFF = 0x07;
inline constexpr uint8_t RC_FT1_BAD_BAUD_RATE = 0x08;
inline constexpr uint8_t RC_FT1_BAD_CONFIGURATION = 0x09;
inline constexpr uint8_t RC_FT1_BAD_CHANNEL_BASE = 0x0A;
inline constexpr uint8_t RC_FT1_TX_BUSY = 0x0B;
inline constexpr uint8_t RC_REMOTE_DRIVER = 0xCD;
// The preset of every command, left in place when nothing answered; the
// firmware's own timeout code means the same.
inline constexpr uint8_t RC_PRESET_TIMEOUT = 0xAA;
inline constexpr uint8_t RC_FIRMWARE_TIMEOUT = 0x7F;

inline bool IsTimeout(uint8_t rc) { return rc == RC_PRESET_TIMEOUT || rc == RC_FIRMWARE_TIMEOUT; }

// Front-end types reported by READ_FRONT_END_TYPE
inline constexpr uint8_t kFrontEndNone = 0;
inline constexpr uint8_t kFrontEndT1 = 1;
inline constexpr uint8_t kFrontEndE1 = 2;
inline constexpr uint8_t kFrontEnd56K = 3;
