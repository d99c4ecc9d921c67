#include "card/front_end.h"

#include "card/mailbox_exchange.h"
#include "driver_if/mailbox.h"

namespace card {

namespace {

struct LoopbackCodes {
  uint8_t on;
  uint8_t off;
  std::string_view name;
};

LoopbackCodes CodesOf(Loopback mode) {
  switch (mode) {
    case Loopback::kLine: return {ACTIVATE_LINELB_MODE, DEACTIVATE_LINELB_MODE, "line"};
    case Loopback::kPayload: return {ACTIVATE_PAYLB_MODE, DEACTIVATE_PAYLB_MODE, "payload"};
    case Loopback::kDiagnosticDigital: return {ACTIVATE_DDLB_MODE, DEACTIVATE_DDLB_MODE, "digital"};
    case Loopback::kRemoteSignal: return {ACTIVATE_LB_MODE, DEACTIVATE_LB_MODE, "remote"};
  }
  return {ACTIVATE_LINELB_MODE, DEACTIVATE_LINELB_MODE, "line"};
}

template <class Record>
Reply<Record> Read2K(CommandExecutor& exec, uint8_t code, std::span<const uint8_t> payload = {}) {
  const uint8_t rc = Exchange2K(exec, code, payload);
  return {rc, Record::Decode(exec.block().data())};
}

}  // namespace

Reply<uint8_t> ReadFrontEndType(CommandExecutor& exec) {
  const uint8_t rc = Exchange2K(exec, READ_FRONT_END_TYPE);
  return {rc, exec.block().data()[0]};
}

std::string_view FrontEndName(uint8_t front_end_type) {
  switch (front_end_type) {
    case kFrontEndNone: return "none";
    case kFrontEndT1: return "T1";
    case kFrontEndE1: return "E1";
    case kFrontEnd56K: return "56K";
    default: return "unknown";
  }
}

Reply<Te1Alarms> ReadTe1Alarms(CommandExecutor& exec) { return Read2K<Te1Alarms>(exec, READ_FRONT_END_ALARMS); }

uint8_t FlushFrontEndCounters(CommandExecutor& exec) { return Exchange2K(exec, FLUSH_FRONT_END_COUNTERS); }

Reply<Status56K> Read56KStatus(CommandExecutor& exec) {
  // The two request bytes mean nothing to a 56K unit; they go cleared.
  const uint8_t request[2] = {0, 0};
  return Read2K<Status56K>(exec, READ_FRONT_END_ALARMS, request);
}

Reply<uint8_t> ReadFrontEndRegister(CommandExecutor& exec, uint8_t reg) {
  const uint8_t payload[] = {reg};
  const uint8_t rc = Exchange2K(exec, READ_FRONT_END_REGISTER, payload);
  return {rc, exec.block().data()[0]};
}

uint8_t LoopbackCommand(Loopback mode, bool on) {
  const LoopbackCodes codes = CodesOf(mode);
  return on ? codes.on : codes.off;
}

std::string_view LoopbackName(Loopback mode) { return CodesOf(mode).name; }

uint8_t SetLoopback(CommandExecutor& exec, Loopback mode, bool on) {
  return Exchange2K(exec, LoopbackCommand(mode, on));
}

}  // namespace card
