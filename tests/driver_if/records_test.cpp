#include "driver_if/records.h"

#include <gtest/gtest.h>

#include <array>

TEST(RecordsTest, HardwareInfoFieldOffsets) {
  std::array<uint8_t, 26> b{};
  HardwareInfo h{40, 0x01020304, 0x05060708, 0x090A, 0x0B0C, 0x0D0E0F10, 0x11121314, 0x15161718};
  h.Write(b);
  EXPECT_EQ(b[0], 40);
  EXPECT_EQ(b[2], 0x04);
  EXPECT_EQ(b[5], 0x01);
  EXPECT_EQ(b[6], 0x08);
  EXPECT_EQ(b[10], 0x0A);
  EXPECT_EQ(b[12], 0x0C);
  EXPECT_EQ(b[14], 0x10);
  EXPECT_EQ(b[18], 0x14);
  EXPECT_EQ(b[22], 0x18);
  EXPECT_EQ(b[25], 0x15);
  HardwareInfo back = HardwareInfo::Read(b);
  EXPECT_EQ(back.io_port, 0x15161718u);
  EXPECT_EQ(back.cpu, 0x090A);
}

TEST(RecordsTest, StreamingConfigDefaultsAndReservedWords) {
  std::array<uint8_t, 48> b;
  b.fill(0xEE);
  StreamingConfig{}.Write(b);
  EXPECT_EQ(le::get_u32(b, 0), 0u);
  EXPECT_EQ(le::get_u16(b, 6), 2);
  EXPECT_EQ(le::get_u16(b, 8), 0);
  EXPECT_EQ(le::get_u16(b, 12), 0x8000);
  EXPECT_EQ(le::get_u16(b, 14), 50);
  EXPECT_EQ(le::get_u16(b, 16), 3);
  EXPECT_EQ(le::get_u16(b, 18), 2000);
  for (size_t i = 20; i < 48; ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(RecordsTest, TECardConfigLayout) {
  std::array<uint8_t, 16> b{};
  TECardConfig c;
  c.media_type = 1;
  c.active_channels = 0x00FFFFFF;
  c.result = 0xFF;
  c.Write(b);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 2);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(b[3], 1);
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(le::get_u32(b, 8), 0x00FFFFFFu);
  EXPECT_EQ(b[12], 0xFF);
}

TEST(RecordsTest, FrameAndMemoryBufferFields) {
  ReceivedFrame f;
  f.bytes()[0] = 1;
  f.bytes()[1] = 0x34;
  f.bytes()[2] = 0x12;
  f.bytes()[3] = 0x80;
  f.bytes()[4] = 77;
  EXPECT_EQ(f.length(), 0x1234);
  EXPECT_EQ(f.bits(), 0x80);
  EXPECT_EQ(f.timeStamp(), 77);
  EXPECT_EQ(ReceivedFrame::kMaxData, 13984u);

  SendFrameBuffer s;
  s.setLength(3);
  EXPECT_EQ(s.bytes()[2], 3);
  EXPECT_EQ(SendFrameBuffer::kMaxData, 15354u);

  MemoryReadRequest m;
  m.setOffset(0xE000);
  m.setLength(0x100);
  EXPECT_EQ(m.bytes()[5], 0xE0);
  EXPECT_EQ(m.bytes()[9], 0x01);
  EXPECT_EQ(MemoryReadRequest::kMaxData, 2002u);
}
