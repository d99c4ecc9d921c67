// The Win32 backend through its system-call seam: what it asks of
// CreateFileA, and the exact buffers that cross DeviceIoControl.

#include "driver_if/win32_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "cardsim/simulator.h"
#include "driver_if/execute.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "tests/driver_if/simulated_win32_calls.h"
#include "tests/support/fake_prompter.h"

namespace {

using namespace std::chrono_literals;

class Win32DriverTest : public ::testing::Test {
 protected:
  std::unique_ptr<DeviceHandle> open(const char* name = "TALVSTRM0") {
    uint32_t error = 0;
    auto h = driver.open(name, &error);
    EXPECT_TRUE(h) << name << " error " << error;
    return h;
  }

  cardsim::Simulator simulator{cardsim::DemoCards()};
  wintest::SimulatedWin32Calls calls{simulator};
  Win32CardDriver driver{calls};
};

TEST_F(Win32DriverTest, OpensTheDevicePathForReadAndWriteAndClosesItOnce) {
  auto a = open("TALVSTRM0");
  auto b = open("TALVSTRM3");
  ASSERT_EQ(calls.opens().size(), 2u);
  const wintest::OpenCall first = calls.opens()[0];
  EXPECT_EQ(first.path, "\\\\.\\TALVSTRM0");
  EXPECT_EQ(calls.opens()[1].path, "\\\\.\\TALVSTRM3");
  EXPECT_EQ(first.access, DWORD{GENERIC_READ | GENERIC_WRITE});
  EXPECT_EQ(first.share, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE});
  EXPECT_EQ(first.disposition, DWORD{OPEN_EXISTING});
  EXPECT_EQ(first.flags, DWORD{FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING});
  EXPECT_EQ(calls.openHandles(), 2);
  a.reset();
  b.reset();
  EXPECT_EQ(calls.openHandles(), 0);
  EXPECT_EQ(calls.badCloses(), 0);
}

TEST_F(Win32DriverTest, OpenFailuresReportTheSystemErrorAndOtherNamesNeverReachTheSystem) {
  uint32_t error = 0;
  calls.fail_next_open = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(driver.open("TALVSTRM0", &error));
  EXPECT_EQ(error, uint32_t{ERROR_ACCESS_DENIED});
  EXPECT_FALSE(driver.open("TALVSTRM9", &error));
  EXPECT_EQ(error, kErrorDeviceNotFound);
  const size_t asked = calls.opens().size();
  for (const char* name : {"C:\\Windows\\win.ini", "TALVSTRM0\\..\\PhysicalDrive0", "NUL"}) {
    EXPECT_FALSE(driver.open(name, &error)) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
  EXPECT_EQ(calls.opens().size(), asked);
}

struct Expected {
  DWORD code;
  DWORD in_len;
  DWORD out_len;
};

// Every request the programs make, through the same wrappers they use, in
// the sizes the driver's control-code table gives.
TEST_F(Win32DriverTest, RequestsCrossDeviceIoControlInTheTableSizes) {
  auto h = open();
  fake::FakePrompter prompter;
  CommandExecutor executor(prompter);
  executor.setHandle(h.get());

  std::array<uint8_t, StreamingConfig::kSize> image{};
  StreamingConfig config;
  config.baud_rate = 0x0017'7000;
  config.Write(image);
  executor.block().prepare(SET_CHDLC_CONFIGURATION, image);
  ASSERT_EQ(executor.ExecuteCommand(), 0);
  executor.block().prepare(ENABLE_CHDLC_COMMUNICATIONS);
  ASSERT_EQ(executor.ExecuteCommand(), 0);
  executor.block().prepare(READ_FRONT_END_TYPE);
  executor.ExecuteCommand2K();

  TECardConfig te;
  te.media_type = kMediaT1;
  te.active_channels = 0x00FFFFFF;
  ConfigureTECardCommand(h.get(), te);

  auto send = std::make_unique<SendFrameBuffer>();
  send->setLength(3);
  send->data()[0] = 0xC1;
  ASSERT_EQ(SendFrame(h.get(), *send), 0);
  auto frame = std::make_unique<ReceivedFrame>();
  ASSERT_TRUE(ReceiveFrame(h.get(), *frame));
  auto memory = std::make_unique<MemoryReadRequest>();
  memory->setStatus(0xAA);
  memory->setOffset(0x12345);
  memory->setLength(16);
  ReadMemory(h.get(), *memory);
  HardwareInfo info;
  ASSERT_TRUE(ReadHardwareInfo(h.get(), info));

  const Expected expected[] = {
      {IOCTL_EXEC_CMD, 16 + StreamingConfig::kSize, 1016},
      {IOCTL_EXEC_CMD, 16, 1016},
      {IOCTL_EXEC_CMD_2K, 2048, 2048},
      {IOCTL_TE_CONFIG, 16, 16},
      {IOCTL_SEND_FRAME, 15358, 15358},
      {IOCTL_RECEIVE_FRAME, 0, 14000},
      {IOCTL_READ_MEMORY, 2012, 2012},
      {IOCTL_READ_HARDWARE_INFO, 0, 26},
  };
  auto seen = calls.ioControls();
  ASSERT_EQ(seen.size(), std::size(expected));
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].code, expected[i].code) << i;
    EXPECT_EQ(seen[i].in.size(), expected[i].in_len) << i;
    EXPECT_EQ(seen[i].out_len, expected[i].out_len) << i;
    EXPECT_TRUE(seen[i].ok) << i;
    EXPECT_EQ(seen[i].code >> 16, 0x22u) << "device type " << i;
    EXPECT_EQ((seen[i].code >> 14) & 3, 0u) << "no access right asked " << i;
  }

  // Little-endian records, the preset where the driver expects it.
  const auto& set = seen[0].in;
  EXPECT_EQ(set[1], SET_CHDLC_CONFIGURATION);
  EXPECT_EQ(set[2], StreamingConfig::kSize);
  EXPECT_EQ(set[3], 0);
  EXPECT_EQ(set[4], 0xAA);
  EXPECT_EQ(le::get_u32(set, 16), 0x0017'7000u);
  EXPECT_EQ(seen[2].in[4], 0xAA);
  EXPECT_EQ(seen[3].in[0], kMediaT1);
  EXPECT_EQ(le::get_u32(seen[3].in, 8), 0x00FF'FFFFu);
  EXPECT_EQ(le::get_u16(seen[4].in, 2), 3);
  EXPECT_EQ(seen[4].in[4], 0xC1);
  EXPECT_EQ(seen[6].in[0], 0xAA);
  EXPECT_EQ(le::get_u32(seen[6].in, 4), 0x12345u);
  EXPECT_EQ(le::get_u16(seen[6].in, 8), 16);

  // What came back is what the records decode.
  EXPECT_EQ(frame->length(), 3 + 2);
  EXPECT_EQ(frame->data()[0], 0xC1);
  EXPECT_EQ(memory->status(), 0);
  EXPECT_EQ(le::get_u32(seen[7].out, 0), info.card_type | (uint32_t{info.bus_number} << 16));
}

// A reader that read the cancelled flag just before cancel() set it reaches
// the driver after cancel()'s first CancelIoEx: that one had nothing to
// cancel, so cancel() must try again while the request is in flight.
TEST_F(Win32DriverTest, CancelReleasesAReaderThatReachesTheDriverAfterTheFirstCancel) {
  auto h = open();
  std::atomic<bool> entered{false};
  calls.before_io_control = [&](DWORD code) {
    if (code != IOCTL_RECEIVE_FRAME) return;
    entered = true;
    auto give_up = std::chrono::steady_clock::now() + 10s;
    while (calls.cancels() == 0 && std::chrono::steady_clock::now() < give_up)
      std::this_thread::yield();
  };
  fake::FakePrompter prompter;
  CommandExecutor executor(prompter);
  auto control = open();
  executor.setHandle(control.get());
  std::array<uint8_t, StreamingConfig::kSize> image{};
  StreamingConfig{}.Write(image);
  executor.block().prepare(SET_CHDLC_CONFIGURATION, image);
  ASSERT_EQ(executor.ExecuteCommand(), 0);
  executor.block().prepare(ENABLE_CHDLC_COMMUNICATIONS);
  ASSERT_EQ(executor.ExecuteCommand(), 0);

  std::atomic<bool> done{false};
  bool received = true;
  std::thread reader([&] {
    auto frame = std::make_unique<ReceivedFrame>();
    received = ReceiveFrame(h.get(), *frame);
    done = true;
  });
  while (!entered) std::this_thread::yield();
  std::thread canceller([&] { h->cancel(); });
  // Without the repeat the reader would wait for a frame that never comes;
  // disabling communications frees it so the test ends either way.
  auto give_up = std::chrono::steady_clock::now() + 10s;
  while (!done && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(done) << "reader still blocked after cancel";
  executor.block().prepare(DISABLE_CHDLC_COMMUNICATIONS);
  executor.ExecuteCommand();
  reader.join();
  canceller.join();
  EXPECT_FALSE(received);
}

// The real system calls take the path and flags as given: without the card
// the open fails with "file not found", never "invalid parameter" or "bad name".
TEST(Win32SystemTest, TheDevicePathIsWellFormedForTheSystem) {
  Win32CardDriver system;
  for (const char* name : {"TALVSTRM0", "TALVSTRM15"}) {
    uint32_t error = 0;
    auto handle = system.open(name, &error);
    if (!handle) {
      EXPECT_EQ(error, kErrorDeviceNotFound) << name;
    }
  }
}

}  // namespace
