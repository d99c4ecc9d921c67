#include "cardsim/faults.h"

namespace cardsim {

void Faults::setRule(uint8_t command, MailboxFault fault, int times) {
  std::lock_guard lock(mutex_);
  if (times == 0)
    mailbox_.erase(command);
  else
    mailbox_[command] = Rule{fault, times};
}

void Faults::leaveUnanswered(uint8_t command, NoAnswer how, int times) {
  MailboxFault f;
  f.kind = MailboxFault::Kind::kNoAnswer;
  f.no_answer = how;
  setRule(command, f, times);
}

void Faults::forceReturnCode(uint8_t command, uint8_t return_code, int times) {
  MailboxFault f;
  f.kind = MailboxFault::Kind::kReturnCode;
  f.return_code = return_code;
  setRule(command, f, times);
}

void Faults::delayReply(uint8_t command, std::chrono::milliseconds delay, int times) {
  MailboxFault f;
  f.kind = MailboxFault::Kind::kDelay;
  f.delay = delay;
  setRule(command, f, times);
}

void Faults::refuseRequest(uint32_t control_code, int times) {
  std::lock_guard lock(mutex_);
  if (times == 0)
    refusals_.erase(control_code);
  else
    refusals_[control_code] = times;
}

void Faults::clear() {
  std::lock_guard lock(mutex_);
  mailbox_.clear();
  refusals_.clear();
  memory_.reset();
}

void Faults::failMemoryReads(uint32_t first, uint32_t last, uint8_t status) {
  std::lock_guard lock(mutex_);
  memory_ = MemoryFault{first, last, status};
}

std::optional<uint8_t> Faults::memoryReadStatus(uint32_t offset, uint32_t length) {
  std::lock_guard lock(mutex_);
  if (!memory_ || length == 0) return std::nullopt;
  const uint64_t end = uint64_t{offset} + length - 1;
  if (end < memory_->first || offset > memory_->last) return std::nullopt;
  return memory_->status;
}

std::optional<MailboxFault> Faults::takeMailboxFault(uint8_t command) {
  std::lock_guard lock(mutex_);
  auto it = mailbox_.find(command);
  if (it == mailbox_.end()) return std::nullopt;
  MailboxFault fault = it->second.fault;
  if (it->second.remaining > 0 && --it->second.remaining == 0) mailbox_.erase(it);
  return fault;
}

bool Faults::takeRefusal(uint32_t control_code) {
  std::lock_guard lock(mutex_);
  auto it = refusals_.find(control_code);
  if (it == refusals_.end()) return false;
  if (it->second > 0 && --it->second == 0) refusals_.erase(it);
  return true;
}

}  // namespace cardsim
