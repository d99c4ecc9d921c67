#pragma once
// Faults a test switches on for one card: the firmware misbehaving on a
// command, or the driver refusing a request. Each rule holds for a number
// of requests or for good; a newer rule for the same command replaces it.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace cardsim {

enum class NoAnswer {
  kKeepPreset,       // nothing comes back: return_code keeps the caller's 0xAA
  kFirmwareTimeout,  // return_code becomes 0x7F
};

struct MailboxFault {
  enum class Kind { kNoAnswer, kReturnCode, kDelay };
  Kind kind = Kind::kNoAnswer;
  NoAnswer no_answer = NoAnswer::kKeepPreset;
  uint8_t return_code = 0;
  std::chrono::milliseconds delay{0};  // kDelay: answered normally after this
};

class Faults {
 public:
  // times: how many requests the rule holds for; kAlways (any negative
  // number) for good, 0 removes the rule.
  static constexpr int kAlways = -1;

  void leaveUnanswered(uint8_t command, NoAnswer how, int times = kAlways);
  void forceReturnCode(uint8_t command, uint8_t return_code, int times = kAlways);
  void delayReply(uint8_t command, std::chrono::milliseconds delay, int times = kAlways);
  // The device control request fails outright.
  void refuseRequest(uint32_t control_code, int times = kAlways);
  // IOCTL_READ_MEMORY answers this status for any read touching first..last.
  void failMemoryReads(uint32_t first, uint32_t last, uint8_t status);
  void clear();

  // Used by the card for each request: the fault that applies, counted off.
  std::optional<MailboxFault> takeMailboxFault(uint8_t command);
  bool takeRefusal(uint32_t control_code);
  std::optional<uint8_t> memoryReadStatus(uint32_t offset, uint32_t length);

 private:
  struct Rule {
    MailboxFault fault;
    int remaining;
  };
  void setRule(uint8_t command, MailboxFault fault, int times);

  std::mutex mutex_;
  std::map<uint8_t, Rule> mailbox_;
  std::map<uint32_t, int> refusals_;
  struct MemoryFault {
    uint32_t first, last;
    uint8_t status;
  };
  std::optional<MemoryFault> memory_;
};

}  // namespace cardsim
