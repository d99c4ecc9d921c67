// The FT1 service unit's mailbox commands. A card without the unit answers
// every one of them with RC_NO_FT1_ADAPTER.

#include <algorithm>
#include <string>

#include "cardsim/firmware.h"
#include "cardsim/return_codes.h"
#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

template <class F>
uint8_t WithUnit(MailboxCall& call, F f) {
  if (!call.description.ft1_unit) return RC_NO_FT1_ADAPTER;
  return f(call.state.ft1);
}

void Reply(MailboxCall& call, std::string_view text) {
  std::copy(text.begin(), text.end(), call.reply.begin());
  call.reply_length = text.size();
}

uint8_t SetConfiguration(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    if (call.data.size() < Ft1Configuration::kSize) return RC_BAD_DATA_LENGTH;
    uint16_t bad_offset = 0;
    uint8_t rc = unit.setConfiguration(Ft1Configuration::Read(call.data), &bad_offset);
    // The offset of the refused field travels in buffer_length.
    if (rc == RC_FT1_BAD_CONFIGURATION) call.reply_length = bad_offset;
    return rc;
  });
}

uint8_t ReadConfiguration(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    // The unit's channel is taken by the statistics report meanwhile.
    if ((unit.monitorFlags() & Ft1Unit::kStatisticsMonitor) != 0) return RC_FT1_BAD_CONFIGURATION;
    unit.configuration().Write(call.reply);
    call.reply_length = Ft1Configuration::kSize;
    return RC_OK;
  });
}

uint8_t SendCharacter(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    if (call.data.empty()) return RC_BAD_DATA_LENGTH;
    return unit.receiveCharacter(call.data[0]);
  });
}

uint8_t ReadCharacters(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    Reply(call, unit.takeOutput());
    return RC_OK;
  });
}

uint8_t SetMonitorFlags(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    if (call.data.empty()) return RC_BAD_DATA_LENGTH;
    unit.setMonitorFlags(call.data[0]);
    return RC_OK;
  });
}

uint8_t ReadOperationalStats(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    std::string line;
    if (!unit.readStatistics(&line)) return RC_FT1_STATS_OFF;
    Reply(call, line);
    return RC_OK;
  });
}

uint8_t Select(MailboxCall& call) {
  return WithUnit(call, [](Ft1Unit& unit) -> uint8_t {
    unit.select();
    return RC_OK;
  });
}

uint8_t ReadStatus(MailboxCall& call) {
  return WithUnit(call, [&](Ft1Unit& unit) -> uint8_t {
    auto [a, b] = unit.readStatus();
    call.reply[0] = a;
    call.reply[1] = b;
    call.reply_length = 2;
    return RC_OK;
  });
}

}  // namespace

void RegisterFt1Unit(Firmware& firmware) {
  firmware.addMailbox(SET_FT1_CONFIGURATION, SetConfiguration);
  firmware.addMailbox(READ_FT1_CONFIGURATION, ReadConfiguration);
  firmware.addMailbox(SEND_FT1_CHARACTER, SendCharacter);
  firmware.addMailbox(READ_FT1_CHARACTERS, ReadCharacters);
  firmware.addMailbox(SET_FT1_MONITOR_FLAGS, SetMonitorFlags);
  firmware.addMailbox(READ_FT1_OPERATIONAL_STATS, ReadOperationalStats);
  firmware.addMailbox(FT1_SELECT, Select);
  firmware.addMailbox(READ_FT1_STATUS, ReadStatus);
}

}  // namespace cardsim
