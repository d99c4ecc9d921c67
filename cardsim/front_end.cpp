// The T1/E1 and 56K front-end commands: alarms and counters, their flush,
// the register bank and the four loop-back test modes.

#include "cardsim/front_end.h"

#include "card/front_end_records.h"
#include "cardsim/card_state.h"
#include "cardsim/firmware.h"
#include "cardsim/return_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

constexpr uint16_t kAnyAlarm = kAlarmOof | kAlarmRed | kAlarmAis | kAlarmYel;

bool IsTe(const CardDescription& description) { return description.front_end == FrontEnd::kT1 || description.front_end == FrontEnd::kE1; }

uint8_t ReadAlarms(MailboxCall& call) {
  FrontEndState& fe = call.state.front_end;
  if (call.description.front_end == FrontEnd::k56K) {
    card::Status56K{fe.status_56k}.Encode(call.reply);
    call.reply_length = card::Status56K::kSize;
    return RC_OK;
  }
  if (!IsTe(call.description)) return RC_INVALID_COMMAND;
  if (call.state.comms_enabled) AdvanceCounters(fe);
  card::Te1Alarms{fe.alarms, fe.counters}.Encode(call.reply);
  call.reply_length = card::Te1Alarms::kSize;
  return RC_OK;
}

uint8_t FlushCounters(MailboxCall& call) {
  if (!IsTe(call.description)) return RC_INVALID_COMMAND;
  call.state.front_end.counters = {};
  return RC_OK;
}

// The register bank: 0x00 the front-end type; T1/E1: 0x01-0x02 the alarm
// word, 0x03 the loop-back modes (bit 0 line, 1 payload, 2 digital, 3
// signal), 0x04-0x13 the four counters, 0x14-0x17 the line parameters
// (framing, line decoding, line build-out, clocking); 56K: 0x01-0x02 the
// status word. Every other register reads 0.
uint8_t RegisterValue(const CardDescription& description, const CardState& state, uint8_t reg) {
  const FrontEndState& fe = state.front_end;
  if (reg == 0x00) return static_cast<uint8_t>(description.front_end);
  if (description.front_end == FrontEnd::k56K) {
    if (reg == 0x01) return static_cast<uint8_t>(fe.status_56k);
    if (reg == 0x02) return static_cast<uint8_t>(fe.status_56k >> 8);
    return 0;
  }
  if (reg == 0x01) return static_cast<uint8_t>(fe.alarms);
  if (reg == 0x02) return static_cast<uint8_t>(fe.alarms >> 8);
  if (reg == 0x03)
    return static_cast<uint8_t>((fe.line_loopback ? 0x01 : 0) | (fe.payload_loopback ? 0x02 : 0) |
                                (fe.digital_loopback ? 0x04 : 0) | (fe.loopback_signal ? 0x08 : 0));
  if (reg >= 0x04 && reg < 0x14) return static_cast<uint8_t>(fe.counters[(reg - 4) / 4] >> (8 * ((reg - 4) % 4)));
  if (reg >= 0x14 && reg < 0x18 && state.te_config) {
    const TECardConfig& t = *state.te_config;
    const uint8_t line[] = {t.framing, t.line_decoding, t.line_build_out, t.clocking};
    return line[reg - 0x14];
  }
  return 0;
}

uint8_t ReadRegister(MailboxCall& call) {
  if (call.description.front_end == FrontEnd::kNone) return RC_INVALID_COMMAND;
  if (call.data.empty()) return RC_BAD_DATA_LENGTH;
  call.reply[0] = RegisterValue(call.description, call.state, call.data[0]);
  call.reply_length = 1;
  return RC_OK;
}

template <bool FrontEndState::*Mode, bool On>
uint8_t SetLoopback(MailboxCall& call) {
  if (!IsTe(call.description)) return RC_INVALID_COMMAND;
  call.state.front_end.*Mode = On;
  return RC_OK;
}

}  // namespace

void AdvanceCounters(FrontEndState& fe) {
  fe.counters[kLcvErrors] += 1;
  if ((fe.alarms & kAnyAlarm) == 0) return;
  fe.counters[kFramingBitErrors] += 2;
  fe.counters[kOofErrors] += 1;
  fe.counters[kBitErrors] += 5;
}

bool LineLoopsBack(const CardState& state) { return state.front_end.line_loopback; }

void RegisterFrontEnd(Firmware& firmware) {
  firmware.addMailbox(READ_FRONT_END_ALARMS, ReadAlarms);
  firmware.addMailbox(FLUSH_FRONT_END_COUNTERS, FlushCounters);
  firmware.addMailbox(READ_FRONT_END_REGISTER, ReadRegister);
  firmware.addMailbox(ACTIVATE_LINELB_MODE, SetLoopback<&FrontEndState::line_loopback, true>);
  firmware.addMailbox(DEACTIVATE_LINELB_MODE, SetLoopback<&FrontEndState::line_loopback, false>);
  firmware.addMailbox(ACTIVATE_PAYLB_MODE, SetLoopback<&FrontEndState::payload_loopback, true>);
  firmware.addMailbox(DEACTIVATE_PAYLB_MODE, SetLoopback<&FrontEndState::payload_loopback, false>);
  firmware.addMailbox(ACTIVATE_DDLB_MODE, SetLoopback<&FrontEndState::digital_loopback, true>);
  firmware.addMailbox(DEACTIVATE_DDLB_MODE, SetLoopback<&FrontEndState::digital_loopback, false>);
  firmware.addMailbox(ACTIVATE_LB_MODE, SetLoopback<&FrontEndState::loopback_signal, true>);
  firmware.addMailbox(DEACTIVATE_LB_MODE, SetLoopback<&FrontEndState::loopback_signal, false>);
}

}  // namespace cardsim
