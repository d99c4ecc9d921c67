// The line parameters of an integrated T1/E1 front end (IOCTL_TE_CONFIG)
// and the front-end type the firmware reports.

#include <array>

#include "cardsim/card.h"
#include "cardsim/firmware.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"

namespace cardsim {

namespace {

// The driver's verdicts in the record's result byte.
constexpr uint8_t kTeAccepted = 0;
constexpr uint8_t kTeCommsEnabled = 2;
constexpr uint8_t kTeMediaNotSupported = 3;

bool FrontEndTakes(FrontEnd front_end, uint8_t media_type) {
  return (media_type == kMediaT1 && front_end == FrontEnd::kT1) ||
         (media_type == kMediaE1 && front_end == FrontEnd::kE1);
}

bool ConfigureLine(ControlCall& call) {
  if (call.in.size() < TECardConfig::kSize || call.out.size() < TECardConfig::kSize) return false;
  // The result byte that comes in is the caller's preset, never a verdict.
  TECardConfig config = TECardConfig::Read(call.in);
  call.card.withState([&](CardState& s) {
    if (s.comms_enabled) config.result = kTeCommsEnabled;
    else if (!FrontEndTakes(call.card.description().front_end, config.media_type)) config.result = kTeMediaNotSupported;
    else {
      config.result = kTeAccepted;
      s.te_config = config;
    }
  });
  config.Write(call.out);
  call.returned = TECardConfig::kSize;
  return true;
}

uint8_t ReadFrontEndType(MailboxCall& call) {
  call.reply[0] = static_cast<uint8_t>(call.description.front_end);
  call.reply_length = 1;
  return RC_OK;
}

}  // namespace

void RegisterLineConfiguration(Firmware& firmware) {
  firmware.addControl(IOCTL_TE_CONFIG, ConfigureLine);
  firmware.addMailbox(READ_FRONT_END_TYPE, ReadFrontEndType);
}

}  // namespace cardsim
