#include "driver_if/command_names.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 0x29> kNames = {
    "Read Status:",           "! Send I-Frame:",          "0x02:",
    "! Enable Comms:",        "Read Global Stats:",       "Set Configuration:",
    "Set Modem Status:",      "Read Modem Status:",       "Read Comms Err Stats:",
    "Flush Comms Err Stats:", "Zero Comm Errors:",        "! Set DTR/RTS:",
    "Read DCD/CTS:",          "FLUSH_BFRS:",              "0x0e:",
    "0x0f:",                  "Read Code Version:",       "! Bridge Rx/Tx:",
    "0x12:",                  "0x13:",                    "0x14:",
    "0x15:",                  "0x16:",                    "0x17:",
    "0x18:",                  "0x19:",                    "0x1a:",
    "0x1b:",                  "0x1c:",                    "0x1d:",
    "0x1e:",                  "0x1f:",                    "Read Code Version:",
    "Read Exception Cond:",   "Set CHDLC Configuration:", "Read CHDLC Configuration:",
    "Enable Comms:",          "Disable Comms:",           "Read Link Status:",
    "Read Operational Stats:", "Flush Operational Stats:",
};

}  // namespace

std::string CommandName(uint8_t code) {
  if (code < kNames.size()) return std::string(kNames[code]);
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x:", code);
  return text;
}
