// What every card driver backend must do the same way, run against each
// backend this platform has, in front of the demo cards.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "driver_if/execute.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "tests/driver_if/backend_rig.h"
#include "tests/support/fake_prompter.h"

namespace {

using backendtest::Backend;
using backendtest::BackendRig;

constexpr uint8_t kPreset = 0xAA;
constexpr uint8_t kFill = 0x55;

class BackendSuite : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    rig = GetParam().make();
    ASSERT_TRUE(rig);
    handle = open("TALVSTRM0");
    ASSERT_TRUE(handle);
    executor.setHandle(handle.get());
  }

  std::unique_ptr<DeviceHandle> open(const std::string& name) {
    uint32_t error = 0;
    auto h = rig->driver().open(name, &error);
    EXPECT_TRUE(h) << name << " error " << error;
    return h;
  }

  // The block with its data area filled, so bytes the reply leaves alone show.
  CommandBlock& prepare(uint8_t command, std::span<const uint8_t> payload = {}) {
    CommandBlock& b = executor.block();
    std::fill(b.data().begin(), b.data().end(), kFill);
    b.prepare(command, payload);
    return b;
  }

  uint8_t execute(uint8_t command, std::span<const uint8_t> payload = {}) {
    prepare(command, payload);
    return executor.ExecuteCommand();
  }

  // Communications start only on a configured card.
  void enableCommunications() {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    StreamingConfig{}.Write(image);
    ASSERT_EQ(execute(SET_CHDLC_CONFIGURATION, image), 0);
    ASSERT_EQ(execute(ENABLE_CHDLC_COMMUNICATIONS), 0);
  }

  std::unique_ptr<BackendRig> rig;
  std::unique_ptr<DeviceHandle> handle;
  fake::FakePrompter prompter;
  CommandExecutor executor{prompter};
};

TEST_P(BackendSuite, OpensPresentCardsOnlyAndFailsEverythingElseWithTwo) {
  for (const char* name : {"TALVSTRM1", "TALVSTRM2", "TALVSTRM3"}) EXPECT_TRUE(open(name));
  for (const char* name : {"TALVSTRM4", "TALVSTRM15", "TALVSTRM16", "talvstrm0", "TALVSTRM01",
                           "", "..\\TALVSTRM0", "TALVSTRM0\\x", "COM1"}) {
    uint32_t error = 0;
    EXPECT_FALSE(rig->driver().open(name, &error)) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
}

TEST_P(BackendSuite, ExecuteCommandRepliesInTheBlockAndLeavesTheRestAlone) {
  ASSERT_EQ(execute(READ_CODE_VERSION), 0);
  const CommandBlock& b = executor.block();
  EXPECT_EQ(b.command(), READ_CODE_VERSION);
  ASSERT_GE(b.bufferLength(), 4);
  EXPECT_EQ(std::string(b.data().begin(), b.data().begin() + 4), "4.15");
  for (size_t i = b.bufferLength(); i < kCommandDataSize; ++i)
    ASSERT_EQ(b.data()[i], kFill) << "data byte " << i;
}

TEST_P(BackendSuite, ConfigurationSetOnOneHandleIsReadBackOnAnother) {
  std::array<uint8_t, StreamingConfig::kSize> image{};
  StreamingConfig config;
  config.percent_tx_buffers = 30;
  config.max_frame_size = 1500;
  config.Write(image);
  ASSERT_EQ(execute(SET_CHDLC_CONFIGURATION, image), 0);

  auto other = open("TALVSTRM0");
  ASSERT_TRUE(other);
  executor.setHandle(other.get());
  handle.reset();
  ASSERT_EQ(execute(READ_CHDLC_CONFIGURATION), 0);
  ASSERT_GE(executor.block().bufferLength(), StreamingConfig::kSize);
  StreamingConfig back = StreamingConfig::Read(executor.block().data());
  EXPECT_EQ(back.percent_tx_buffers, 30);
  EXPECT_EQ(back.max_frame_size, 1500u);
}

TEST_P(BackendSuite, ExecuteCommand2KCarriesTheWholeBlock) {
  auto t1 = open("TALVSTRM1");
  ASSERT_TRUE(t1);
  executor.setHandle(t1.get());
  prepare(READ_FRONT_END_TYPE);
  executor.ExecuteCommand2K();
  EXPECT_EQ(executor.block().returnCode(), 0);
  EXPECT_EQ(executor.block().bufferLength(), 1);
  EXPECT_EQ(executor.block().data()[0], kMediaT1);
  EXPECT_EQ(executor.block().data()[1], kFill);
}

TEST_P(BackendSuite, TEConfigVerdictsComeBackInTheRecord) {
  auto e1 = open("TALVSTRM2");
  ASSERT_TRUE(e1);
  TECardConfig config;
  config.media_type = kMediaE1;
  config.active_channels = 0x7FFFFFFF;
  config.result = kPreset;
  ConfigureTECardCommand(e1.get(), config);
  EXPECT_EQ(config.result, 0);
  EXPECT_EQ(config.active_channels, 0x7FFFFFFFu);

  config.media_type = kMediaT1;
  config.result = kPreset;
  ConfigureTECardCommand(e1.get(), config);
  EXPECT_EQ(config.result, 3) << "media the card does not have";

  executor.setHandle(e1.get());
  enableCommunications();
  config.media_type = kMediaE1;
  config.result = kPreset;
  ConfigureTECardCommand(e1.get(), config);
  EXPECT_EQ(config.result, 2) << "communications enabled";
  EXPECT_EQ(execute(DISABLE_CHDLC_COMMUNICATIONS), 0);
}

TEST_P(BackendSuite, SentFramesComeBackOnTheReceivingHandle) {
  enableCommunications();
  auto receiver = open("TALVSTRM0");
  ASSERT_TRUE(receiver);

  auto send = std::make_unique<SendFrameBuffer>();
  const uint8_t payload[] = {0x0F, 0x00, 0x80, 0x35, 0x01, 0xFE};
  std::copy(std::begin(payload), std::end(payload), send->data().begin());
  send->setLength(sizeof payload);
  ASSERT_EQ(SendFrame(handle.get(), *send), 0);

  auto frame = std::make_unique<ReceivedFrame>();
  frame->bytes().fill(kFill);
  ASSERT_TRUE(ReceiveFrame(receiver.get(), *frame));
  EXPECT_EQ(frame->valid(), 1);
  ASSERT_EQ(frame->length(), sizeof payload + 2) << "with its check sequence";
  EXPECT_TRUE(std::equal(std::begin(payload), std::end(payload), frame->data().begin()));

  // Once communications stop, a reader is told so instead of waiting.
  ASSERT_EQ(execute(DISABLE_CHDLC_COMMUNICATIONS), 0);
  EXPECT_FALSE(ReceiveFrame(receiver.get(), *frame));
}

TEST_P(BackendSuite, CancelReleasesABlockedReaderAndRefusesLaterRequests) {
  enableCommunications();
  auto receiver = open("TALVSTRM0");
  ASSERT_TRUE(receiver);
  std::atomic<bool> received{true};
  std::thread reader([&] {
    auto frame = std::make_unique<ReceivedFrame>();
    received = ReceiveFrame(receiver.get(), *frame);
  });
  receiver->cancel();
  reader.join();
  EXPECT_FALSE(received);
  HardwareInfo info;
  EXPECT_FALSE(ReadHardwareInfo(receiver.get(), info));
  EXPECT_TRUE(ReadHardwareInfo(handle.get(), info)) << "other handles go on";
  execute(DISABLE_CHDLC_COMMUNICATIONS);
}

TEST_P(BackendSuite, MemoryReadsAnswerInTheRequest) {
  auto request = std::make_unique<MemoryReadRequest>();
  request->bytes().fill(kFill);
  request->setStatus(kPreset);
  request->setOffset(0x100);
  request->setLength(64);
  ReadMemory(handle.get(), *request);
  EXPECT_EQ(request->status(), 0);
  EXPECT_EQ(request->offset(), 0x100u);
  EXPECT_EQ(request->data()[64], kFill);

  auto again = std::make_unique<MemoryReadRequest>();
  again->setStatus(kPreset);
  again->setOffset(0x100);
  again->setLength(64);
  ReadMemory(open("TALVSTRM0").get(), *again);
  EXPECT_TRUE(std::equal(again->data().begin(), again->data().begin() + 64, request->data().begin()));

  request->setStatus(kPreset);
  request->setLength(0);
  ReadMemory(handle.get(), *request);
  EXPECT_NE(request->status(), 0);
  EXPECT_NE(request->status(), kPreset);
}

TEST_P(BackendSuite, HardwareInfoDescribesTheCard) {
  HardwareInfo info;
  ASSERT_TRUE(ReadHardwareInfo(handle.get(), info));
  EXPECT_EQ(info.card_type, HardwareInfo::kIsaCard);
  EXPECT_EQ(info.io_port, 0x360u);
  EXPECT_EQ(info.memory_base, 0xD0000u);
  EXPECT_EQ(info.irq, 10u);

  auto e1 = open("TALVSTRM2");
  ASSERT_TRUE(ReadHardwareInfo(e1.get(), info));
  EXPECT_EQ(info.card_type, HardwareInfo::kPciCard);
  EXPECT_EQ(info.slot_number, 10u);
  EXPECT_EQ(info.cpu, 1);
}

TEST_P(BackendSuite, UnansweredCommandsReadAsTimeouts) {
  rig->leaveUnanswered(0, READ_CHDLC_LINK_STATUS, /*firmware_timeout=*/false);
  EXPECT_EQ(execute(READ_CHDLC_LINK_STATUS), kPreset);
  EXPECT_EQ(executor.block().data()[0], kFill);

  rig->leaveUnanswered(0, READ_CHDLC_LINK_STATUS, /*firmware_timeout=*/true);
  EXPECT_EQ(execute(READ_CHDLC_LINK_STATUS), 0x7F);

  rig->forceReturnCode(0, READ_CHDLC_LINK_STATUS, 0x05);
  EXPECT_EQ(execute(READ_CHDLC_LINK_STATUS), 0x05);
  EXPECT_EQ(execute(READ_CODE_VERSION), 0) << "other commands unaffected";
}

TEST_P(BackendSuite, RefusedRequestsFailAndLeaveTheBuffersAlone) {
  rig->refuseRequest(0, IOCTL_EXEC_CMD);
  EXPECT_EQ(execute(READ_CODE_VERSION), kPreset);
  EXPECT_EQ(executor.block().data()[0], kFill);

  rig->refuseRequest(0, IOCTL_READ_HARDWARE_INFO);
  HardwareInfo info;
  EXPECT_FALSE(ReadHardwareInfo(handle.get(), info));
  EXPECT_EQ(info.irq, 0u) << "nothing stale from the buffer";

  rig->refuseRequest(0, IOCTL_SEND_FRAME);
  auto send = std::make_unique<SendFrameBuffer>();
  send->setLength(1);
  EXPECT_EQ(SendFrame(handle.get(), *send), kSendRequestFailed);
}

TEST_P(BackendSuite, RequestsTheDriverDoesNotKnowOrCannotFitFail) {
  std::array<uint8_t, kCommandBlockSize> buffer{};
  uint32_t returned = 0;
  EXPECT_FALSE(handle->control(0x220044, buffer.data(), 16, buffer.data(), 16, &returned));
  EXPECT_FALSE(handle->control(IOCTL_READ_HARDWARE_INFO, nullptr, 0, buffer.data(),
                               kHardwareInfoSize - 1, &returned));
  EXPECT_FALSE(handle->control(IOCTL_TE_CONFIG, buffer.data(), kTECardConfigSize - 1, buffer.data(),
                               kTECardConfigSize, &returned));
  EXPECT_FALSE(handle->control(IOCTL_EXEC_CMD, buffer.data(), kCommandHeaderSize - 1,
                               buffer.data(), kExecCmdOutputSize, &returned));
  EXPECT_TRUE(handle->control(IOCTL_READ_HARDWARE_INFO, nullptr, 0, buffer.data(),
                              kHardwareInfoSize, &returned));
  EXPECT_EQ(returned, kHardwareInfoSize);
}

}  // namespace

namespace backendtest {
void PrintTo(const Backend& backend, std::ostream* out) { *out << backend.name; }
}  // namespace backendtest

namespace {

INSTANTIATE_TEST_SUITE_P(Backends, BackendSuite, ::testing::ValuesIn(backendtest::Backends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
