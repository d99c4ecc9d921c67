#pragma once

#include <cstdint>
#include <string>

namespace talvctl {

// The command's name as the firmware documentation spells it
// ("SET_CHDLC_CONFIGURATION"); "command 0x%02X" for codes talvctl never sends.
std::string MailboxName(uint8_t code);

}  // namespace talvctl
