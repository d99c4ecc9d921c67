// IOCTL_EXEC_CMD and IOCTL_EXEC_CMD_2K: a CommandBlock goes to the firmware's
// mailbox and the reply comes back in the same layout. Faults stand in for
// the firmware here, before any command handler runs.

#include <algorithm>

#include "cardsim/card.h"
#include "cardsim/firmware.h"
#include "cardsim/return_codes.h"
#include "driver_if/command_block.h"
#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

// Runs the command of the request; false when the request itself fails.
bool RunCommand(ControlCall& call, const std::optional<MailboxFault>& fault,
                const CommandBlock& request, size_t data_length, size_t capacity,
                CommandBlock& reply) {
  if (fault && fault->kind == MailboxFault::Kind::kNoAnswer) {
    reply.setReturnCode(RC_FIRMWARE_TIMEOUT);
    return true;
  }
  if (fault && fault->kind == MailboxFault::Kind::kReturnCode) {
    reply.setReturnCode(fault->return_code);
    return true;
  }

  auto lock = call.card.lock();
  if (fault && fault->kind == MailboxFault::Kind::kDelay) {
    auto deadline = std::chrono::steady_clock::now() + fault->delay;
    if (!call.card.waitUntil(lock, call.session, deadline, [] { return false; })) return false;
  }
  MailboxHandler handler = call.card.firmware().mailbox(request.command());
  if (handler == nullptr) {
    reply.setReturnCode(RC_INVALID_COMMAND);
    return true;
  }
  MailboxCall mailbox{call.card.state(lock), call.card.description(),
                      request.data().first(data_length),
                      std::span<uint8_t, kCommandDataSize>(reply.data())};
  uint8_t rc = handler(mailbox);
  // A command may change what waiting requests wait for, such as the line.
  lock.unlock();
  call.card.wake();
  // The card never claims more than the request can carry back.
  if (mailbox.reply_length > capacity) {
    rc = RC_REPLY_TOO_LONG;
    mailbox.reply_length = 0;
  }
  reply.setReturnCode(rc);
  reply.setBufferLength(static_cast<uint16_t>(mailbox.reply_length));
  return true;
}

bool Execute(ControlCall& call, size_t max_reply) {
  if (call.in.size() < kCommandHeaderSize || call.in.size() > kCommandBlockSize ||
      call.out.size() < kCommandHeaderSize)
    return false;
  // Work on copies: callers pass one buffer as both input and output.
  CommandBlock request;
  std::copy(call.in.begin(), call.in.end(), request.bytes().begin());
  // The command sees only data that came in, whatever buffer_length claims.
  const size_t data_length =
      std::min<size_t>(request.bufferLength(), call.in.size() - kCommandHeaderSize);
  const size_t capacity = std::min(max_reply, call.out.size() - kCommandHeaderSize);

  auto fault = call.card.faults().takeMailboxFault(request.command());
  // A command nobody answers leaves the caller's block, and its 0xAA preset, alone.
  if (fault && fault->kind == MailboxFault::Kind::kNoAnswer &&
      fault->no_answer == NoAnswer::kKeepPreset) {
    call.returned = 0;
    return true;
  }

  CommandBlock reply;
  std::copy_n(request.bytes().begin(), kCommandHeaderSize, reply.bytes().begin());
  reply.setBufferLength(0);
  if (!RunCommand(call, fault, request, data_length, capacity, reply)) return false;
  size_t length = kCommandHeaderSize + reply.bufferLength();
  std::copy_n(reply.bytes().begin(), length, call.out.begin());
  call.returned = static_cast<uint32_t>(length);
  return true;
}

bool ExecCmd(ControlCall& call) { return Execute(call, kExecCmdMaxReply); }
bool ExecCmd2K(ControlCall& call) { return Execute(call, kExecCmd2KMaxReply); }

}  // namespace

void RegisterMailboxRequests(Firmware& firmware) {
  firmware.addControl(IOCTL_EXEC_CMD, ExecCmd);
  firmware.addControl(IOCTL_EXEC_CMD_2K, ExecCmd2K);
}

}  // namespace cardsim
