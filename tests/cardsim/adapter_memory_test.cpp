#include "cardsim/adapter_memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cardsim/control_commands.h"
#include "driver_if/le.h"
#include "driver_if/requests.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

class AdapterMemoryTest : public simtest::SimTest {
 protected:
  struct Read {
    bool ok;
    uint32_t returned;
    MemoryReadRequest request;
  };
  Read read(const char* name, uint32_t offset, uint16_t length) {
    auto handle = open(name);
    Read r{};
    r.request.setStatus(0xAA);
    r.request.setOffset(offset);
    r.request.setLength(length);
    auto& b = r.request.bytes();
    r.ok = handle->control(IOCTL_READ_MEMORY, b.data(), b.size(), b.data(), b.size(), &r.returned);
    return r;
  }
  std::vector<uint8_t> bytes(const char* name, uint32_t offset, uint16_t length) {
    Read r = read(name, offset, length);
    EXPECT_EQ(r.request.status(), 0) << std::hex << offset;
    return {r.request.data().begin(), r.request.data().begin() + length};
  }
};

TEST_F(AdapterMemoryTest, ReadsAnswerTheRequestedBytes) {
  Read r = read("TALVSTRM0", 0x10000, 1350);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.request.status(), 0);
  EXPECT_EQ(r.returned, MemoryReadRequest::kDataOffset + 1350);
  EXPECT_EQ(r.request.offset(), 0x10000u);
  EXPECT_EQ(r.request.length(), 1350);
  for (uint32_t i = 0; i < 1350; ++i)
    ASSERT_EQ(r.request.data()[i], cardsim::MemoryPattern(0x10000 + i)) << i;
  EXPECT_EQ(bytes("TALVSTRM0", 0x1FFFF, 1)[0], cardsim::MemoryPattern(0x1FFFF));
}

TEST_F(AdapterMemoryTest, FirmwareRecordsSitAtFixedOffsets) {
  auto signature = bytes("TALVSTRM0", cardsim::kMemSignature, 25);
  EXPECT_EQ(std::string(signature.begin(), signature.end() - 1), "TALVSTRM CHDLC STREAMING");
  EXPECT_EQ(signature.back(), 0);
  auto version = bytes("TALVSTRM0", cardsim::kMemCodeVersion, 5);
  EXPECT_EQ(std::string(version.begin(), version.end() - 1), "4.15");

  EXPECT_EQ(bytes("TALVSTRM0", cardsim::kMemConfiguration, 48), std::vector<uint8_t>(48));
  card(0).withState([](cardsim::CardState& s) {
    StreamingConfig c;
    c.max_frame_size = 1234;
    s.config.emplace();
    c.Write(*s.config);
    s.op_stats.tx_frames = 0x11223344;
    s.comms_errors.rx_crc = 0xABCD;
    s.comms_enabled = true;
    s.frames_queued = 9;
  });
  auto config = bytes("TALVSTRM0", cardsim::kMemConfiguration, 48);
  EXPECT_EQ(StreamingConfig::Read(config).max_frame_size, 1234);
  EXPECT_EQ(le::get_u32(bytes("TALVSTRM0", cardsim::kMemOperationalStats, 4), 0), 0x11223344u);
  EXPECT_EQ(le::get_u16(bytes("TALVSTRM0", cardsim::kMemCommsErrors + 2, 2), 0), 0xABCD);
  EXPECT_EQ(bytes("TALVSTRM0", cardsim::kMemLink, 4), (std::vector<uint8_t>{1, 0, 0, 9}));
  // The default dump lands on the receive queue.
  auto queue = bytes("TALVSTRM0", 0xE000, 0x100);
  EXPECT_EQ(le::get_u16(queue, 0), 9);
  EXPECT_TRUE(std::all_of(queue.begin() + 2, queue.end(), [](uint8_t b) { return b == 0; }));

  card(1).withState([](cardsim::CardState& s) {
    s.front_end.alarms = 0x0418;
    s.front_end.counters = {1, 2, 3, 4};
    s.front_end.payload_loopback = true;
  });
  auto fe = bytes("TALVSTRM1", cardsim::kMemFrontEnd, 20);
  EXPECT_EQ(le::get_u16(fe, 0), 0x0418);
  EXPECT_EQ(fe[2], 0x02);
  EXPECT_EQ(le::get_u32(fe, 16), 4u);
  EXPECT_EQ(le::get_u16(bytes("TALVSTRM3", cardsim::kMemFrontEnd, 2), 0), cardsim::k56KHealthyStatus);
  // A read across a record's edge sees both sides.
  auto edge = bytes("TALVSTRM1", cardsim::kMemFrontEnd - 2, 4);
  EXPECT_EQ(edge[0], cardsim::MemoryPattern(cardsim::kMemFrontEnd - 2));
  EXPECT_EQ(le::get_u16(edge, 2), 0x0418);
}

TEST_F(AdapterMemoryTest, BadRangesGetANonZeroStatusAndNoData) {
  const std::pair<uint32_t, uint16_t> bad[] = {{0x20000, 1}, {0x1FFFF, 2}, {0, 0}, {0, 1351}, {0xFFFFFFFF, 1}};
  for (const auto& [offset, length] : bad) {
    Read r = read("TALVSTRM0", offset, length);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.request.status(), cardsim::kMemoryBadRange) << std::hex << offset;
    EXPECT_EQ(r.returned, MemoryReadRequest::kDataOffset);
  }
}

TEST_F(AdapterMemoryTest, ATestChoosesAFailingRange) {
  card(0).faults().failMemoryReads(0x1000, 0x10FF, 0x42);
  EXPECT_EQ(read("TALVSTRM0", 0x0F00, 0x100).request.status(), 0);
  EXPECT_EQ(read("TALVSTRM0", 0x0F01, 0x100).request.status(), 0x42);
  EXPECT_EQ(read("TALVSTRM0", 0x10FF, 1).request.status(), 0x42);
  EXPECT_EQ(read("TALVSTRM0", 0x1100, 1).request.status(), 0);
  EXPECT_EQ(read("TALVSTRM1", 0x1000, 1).request.status(), 0);
  card(0).faults().clear();
  EXPECT_EQ(read("TALVSTRM0", 0x1000, 1).request.status(), 0);

  const auto& commands = cardsim::ControlCommands::Standard();
  ASSERT_TRUE(commands.run(simulator, "memfail TALVSTRM0 0xE000 0xE0FF 0x05").ok);
  EXPECT_EQ(read("TALVSTRM0", 0xE000, 0x100).request.status(), 0x05);
  for (const char* bad : {"memfail 0 0x20000 0x20000 1", "memfail 0 0x10 0x0F 1", "memfail 0 0 1 0",
                          "memfail 0 0 1"})
    EXPECT_FALSE(commands.run(simulator, bad).ok) << bad;
}

TEST_F(AdapterMemoryTest, ARefusedReadLeavesTheCallersBuffer) {
  card(0).faults().refuseRequest(IOCTL_READ_MEMORY);
  Read r = read("TALVSTRM0", 0, 16);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.request.status(), 0xAA);
  auto handle = open("TALVSTRM0");
  MemoryReadRequest request;
  request.setStatus(0xAA);
  request.setLength(1);
  ReadMemory(handle.get(), request);
  EXPECT_EQ(request.status(), 0xAA);
}

}  // namespace
