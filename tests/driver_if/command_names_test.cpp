#include "driver_if/command_names.h"

#include <gtest/gtest.h>

#include "driver_if/device_names.h"

TEST(CommandNameTest, TableEntries) {
  EXPECT_EQ(CommandName(0x00), "Read Status:");
  EXPECT_EQ(CommandName(0x01), "! Send I-Frame:");
  EXPECT_EQ(CommandName(0x0B), "! Set DTR/RTS:");
  EXPECT_EQ(CommandName(0x0D), "FLUSH_BFRS:");
  EXPECT_EQ(CommandName(0x10), "Read Code Version:");
  EXPECT_EQ(CommandName(0x20), "Read Code Version:");
  EXPECT_EQ(CommandName(0x1A), "0x1a:");
  EXPECT_EQ(CommandName(0x1C), "0x1c:");
  EXPECT_EQ(CommandName(0x22), "Set CHDLC Configuration:");
  EXPECT_EQ(CommandName(0x26), "Read Link Status:");
  EXPECT_EQ(CommandName(0x28), "Flush Operational Stats:");
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
