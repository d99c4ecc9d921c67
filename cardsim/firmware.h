#pragma once
// The simulated driver and firmware as two dispatch tables: device control
// codes, and the mailbox commands that IOCTL_EXEC_CMD and IOCTL_EXEC_CMD_2K
// carry. Each piece of firmware registers its entries in its own file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "cardsim/card_description.h"
#include "cardsim/card_state.h"
#include "driver_if/ioctl_codes.h"

namespace cardsim {

class Card;
class Session;

// One mailbox command, run with the card's mutex held.
struct MailboxCall {
  CardState& state;
  const CardDescription& description;
  std::span<const uint8_t> data;                 // as many bytes as buffer_length says and came in
  std::span<uint8_t, kCommandDataSize> reply;    // zeroed; only reply_length bytes go back
  size_t reply_length = 0;
};
// Returns the command's return_code.
using MailboxHandler = uint8_t (*)(MailboxCall&);

// One device control request. The handler locks the card itself, so it
// may wait (Card::waitUntil) without holding up other handles.
struct ControlCall {
  Card& card;
  Session& session;
  std::span<const uint8_t> in;
  std::span<uint8_t> out;   // write only the first `returned` bytes
  uint32_t returned = 0;
};
// Returns the request's success flag.
using ControlHandler = bool (*)(ControlCall&);

class Firmware {
 public:
  // Every piece registered (see firmware.cpp).
  static const Firmware& Standard();

  void addMailbox(uint8_t command, MailboxHandler handler) { mailbox_[command] = handler; }
  void addControl(uint32_t code, ControlHandler handler);

  MailboxHandler mailbox(uint8_t command) const { return mailbox_[command]; }
  ControlHandler control(uint32_t code) const;

 private:
  std::array<MailboxHandler, 256> mailbox_{};
  std::vector<std::pair<uint32_t, ControlHandler>> controls_;
};

// The pieces, each in its own file.
void RegisterMailboxRequests(Firmware& firmware);  // IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K
void RegisterHardwareInfo(Firmware& firmware);     // IOCTL_READ_HARDWARE_INFO
void RegisterChdlcCommands(Firmware& firmware);    // the CHDLC mailbox commands
void RegisterLineConfiguration(Firmware& firmware); // IOCTL_TE_CONFIG, READ_FRONT_END_TYPE
void RegisterFt1Unit(Firmware& firmware);          // the FT1 service unit's commands
void RegisterFrontEnd(Firmware& firmware);          // T1/E1 and 56K alarms, counters, registers, loop-backs
void RegisterAdapterMemory(Firmware& firmware);     // IOCTL_READ_MEMORY
void RegisterFramePath(Firmware& firmware);        // IOCTL_SEND_FRAME, IOCTL_RECEIVE_FRAME

}  // namespace cardsim
