#include "driver_if/command_names.h"

#include <gtest/gtest.h>

#include "driver_if/device_names.h"

// Written out from the firmware's command list, independently of the code's table.
TEST(CommandNameTest, EveryOneOfTheFortyOneEntries) {
  const char* const expected[41] = {
      "Read Status:",          "! Send I-Frame:",       "0x02:",
      "! Enable Comms:",       "Read Global Stats:",    "Set Configuration:",
      "Set Modem Status:",     "Read Modem Status:",    "Read Comms Err Stats:",
      "Flush Comms Err Stats:", "Zero Comm Errors:",    "! Set DTR/RTS:",
      "Read DCD/CTS:",         "FLUSH_BFRS:",           "0x0e:",
      "0x0f:",                 "Read Code Version:",    "! Bridge Rx/Tx:",
      "0x12:",                 "0x13:",                 "0x14:",
      "0x15:",                 "0x16:",                 "0x17:",
      "0x18:",                 "0x19:",                 "0x1a:",
      "0x1b:",                 "0x1c:",                 "0x1d:",
      "0x1e:",                 "0x1f:",                 "Read Code Version:",
      "Read Exception Cond:",  "Set CHDLC Configuration:", "Read CHDLC Configuration:",
      "Enable Comms:",         "Disable Comms:",        "Read Link Status:",
      "Read Operational Stats:", "Flush Operational Stats:",
  };
  for (int code = 0; code <= 0x28; ++code)
    EXPECT_EQ(CommandName(static_cast<uint8_t>(code)), expected[code]) << "code " << code;
}

TEST(CommandNameTest, CodesPastTheTableGetTheirNumber) {
  EXPECT_EQ(CommandName(0x29), "0x29:");
  EXPECT_EQ(CommandName(0x63), "0x63:");
  EXPECT_EQ(CommandName(0xFF), "0xff:");
}

TEST(DeviceNameTest, OnlyTheSixteenCardNamesAreValid) {
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(IsCardDeviceName(CardDeviceName(i))) << i;
  for (const char* bad : {"", "TALVSTRM", "TALVSTRM16", "TALVSTRM01", "TALVSTRM00", "talvstrm0",
                          "../x", "C:", "TALVSTRM0/", "TALVSTRM-1", "TALVSTRM1 ", "PhysicalDrive0"})
    EXPECT_FALSE(IsCardDeviceName(bad)) << bad;
  EXPECT_EQ(CardIndexOf("TALVSTRM15"), 15);
}
