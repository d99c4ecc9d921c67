#include "card/mailbox_exchange.h"

namespace card {

uint8_t Exchange(CommandExecutor& exec, uint8_t code, std::span<const uint8_t> payload) {
  exec.block().prepare(code, payload);
  return exec.ExecuteCommand();
}

uint8_t Exchange2K(CommandExecutor& exec, uint8_t code, std::span<const uint8_t> payload) {
  exec.block().prepare(code, payload);
  exec.ExecuteCommand2K();
  return exec.block().returnCode();
}

std::span<const uint8_t> ReplyData(const CommandExecutor& exec) {
  const CommandBlock& cb = exec.block();
  return cb.data().first(cb.replyLength(kExecCmdMaxReply));
}

}  // namespace card
