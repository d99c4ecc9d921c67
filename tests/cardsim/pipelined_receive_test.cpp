// Reception through the socket backend against a real talvcard: frames
// taken several to a reply and handed out one by one must never be lost,
// repeated or reordered, whatever ends the stream.

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/cardsim/frame_fixture.h"

namespace {

using namespace std::chrono_literals;
using simtest::ConfigureAndEnable;
using simtest::Execute;
using simtest::Received;

class PipelinedReceiveTest : public ::testing::Test {
 protected:
  PipelinedReceiveTest() : daemon(dir.path()), driver(dir.path()) {
    EXPECT_TRUE(daemon.serving()) << "talvcard did not start";
    control = open();
    ConfigureAndEnable(*control);
  }

  std::unique_ptr<DeviceHandle> open() {
    uint32_t error = 0;
    auto h = driver.open("TALVSTRM0", &error);
    EXPECT_TRUE(h) << error;
    return h;
  }
  cardsim::CtlReply ctl(const std::string& line) {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir.path(), &error);
    EXPECT_TRUE(client) << error;
    return client ? client->call(line) : cardsim::CtlReply{};
  }
  // The generator's handed_out once it settles (closing readers give frames back).
  uint64_t handedOut() {
    std::string text = ctl("gen 0").text;
    size_t at = text.find("handed_out=");
    return at == std::string::npos ? 0 : std::stoull(text.substr(at + 11));
  }
  bool waitHandedOut(uint64_t n) {
    for (int i = 0; i < 200; ++i) {
      if (handedOut() == n) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }
  // Reads n frames and checks they carry the sequence numbers from `first` on.
  void expectSequence(DeviceHandle& h, uint32_t first, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
      Received r = simtest::Receive(h);
      ASSERT_TRUE(r.ok) << "frame " << first + i;
      ASSERT_EQ(r.sequence(), first + i);
    }
  }

  simtest::TempDir dir;
  simtest::DaemonProcess daemon;
  SocketCardDriver driver;
  std::unique_ptr<DeviceHandle> control;
};

TEST_F(PipelinedReceiveTest, EveryFrameOnceAndInOrder) {
  ASSERT_TRUE(ctl("gen 0 0 6 20000").ok);
  auto reader = open();
  expectSequence(*reader, 0, 20000);
  EXPECT_EQ(handedOut(), 20000u);
  // Frames sent meanwhile queue behind the generator's, which is spent now.
  ASSERT_EQ(simtest::Send(*control, {0xC3}), 0);
  Received looped = simtest::Receive(*reader);
  ASSERT_TRUE(looped.ok);
  EXPECT_EQ(looped.bytes()[0], 0xC3);
}

TEST_F(PipelinedReceiveTest, OtherRequestsBetweenReceivesGetTheirOwnReplies) {
  ASSERT_TRUE(ctl("gen 0 0 6 3000").ok);
  auto h = open();
  uint32_t generated = 0, looped = 0, sent = 0;
  for (uint32_t i = 0; generated < 3000 || looped < sent; ++i) {
    Received r = simtest::Receive(*h);
    ASSERT_TRUE(r.ok);
    // Looped frames (2 bytes and the check bytes) queue ahead of the generator's.
    if (r.frame->length() == 4) {
      ASSERT_EQ(r.bytes()[0], 0x11);
      ++looped;
    } else {
      ASSERT_EQ(r.sequence(), generated++);
    }
    if (i % 97 == 0) {
      auto e = Execute(*h, READ_CODE_VERSION);
      ASSERT_TRUE(e.ok);
      ASSERT_EQ(e.block.returnCode(), RC_OK);
      ASSERT_EQ(std::string(e.block.data().begin(), e.block.data().begin() + e.block.bufferLength()),
                "4.15");
    }
    if (i % 301 == 0) {
      ASSERT_EQ(simtest::Send(*h, {0x11, 0x22}), 0);
      ++sent;
    }
  }
  EXPECT_EQ(looped, sent);
  EXPECT_EQ(generated, 3000u);
}

TEST_F(PipelinedReceiveTest, ClosingOrCancellingAReaderLosesNoFrame) {
  ASSERT_TRUE(ctl("gen 0 0 6 300").ok);
  {
    auto first = open();
    expectSequence(*first, 0, 10);
  }
  EXPECT_EQ(handedOut(), 10u);  // closing waits until the card has the rest back
  {
    auto second = open();
    expectSequence(*second, 10, 10);
    second->cancel();
    EXPECT_FALSE(simtest::Receive(*second).ok);
  }
  ASSERT_TRUE(waitHandedOut(20));
  auto third = open();
  expectSequence(*third, 20, 280);
}

TEST_F(PipelinedReceiveTest, FramesAnsweredBeforeTheLineWentDownStillArrive) {
  ASSERT_TRUE(ctl("gen 0 0 6").ok);
  auto reader = open();
  expectSequence(*reader, 0, 1000);
  simtest::Disable(*control);
  uint32_t next = 1000;
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    Received r = simtest::Receive(*reader);
    if (!r.ok) break;
    ASSERT_EQ(r.sequence(), next++);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  // Whatever was given back went with the flush: nothing more arrives.
  ConfigureAndEnable(*control);
  ASSERT_TRUE(ctl("gen 0 off").ok);
  ASSERT_EQ(simtest::Send(*control, {0x99}), 0);
  auto after = open();
  Received r = simtest::Receive(*after);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.bytes()[0], 0x99);
}

TEST_F(PipelinedReceiveTest, BlockedReaderEndsOnCancelDisableOrDrop) {
  struct Case {
    const char* what;
    std::function<void(DeviceHandle&)> end;
  };
  const Case cases[] = {
      {"cancel", [](DeviceHandle& h) { h.cancel(); }},
      {"disable", [&](DeviceHandle&) { simtest::Disable(*control); }},
      {"drop", [&](DeviceHandle&) { ASSERT_TRUE(ctl("drop 0").ok); }},
  };
  for (const auto& c : cases) {
    control = open();
    ConfigureAndEnable(*control);
    auto reader = open();
    // A few frames first, so receives are in flight ahead of the reader.
    for (uint8_t i = 0; i < 5; ++i) ASSERT_EQ(simtest::Send(*control, {i}), 0);
    for (uint8_t i = 0; i < 5; ++i) ASSERT_EQ(simtest::Receive(*reader).bytes()[0], i) << c.what;
    std::atomic<bool> done{false};
    bool ok = true;
    std::thread t([&] {
      ok = simtest::Receive(*reader).ok;
      done = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(done) << c.what;
    auto start = std::chrono::steady_clock::now();
    c.end(*reader);
    t.join();
    EXPECT_FALSE(ok) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << c.what;
    EXPECT_FALSE(simtest::Receive(*reader).ok) << c.what;
  }
}

TEST_F(PipelinedReceiveTest, DaemonKilledMidStream) {
  ASSERT_TRUE(ctl("gen 0 0 6").ok);
  auto reader = open();
  std::atomic<uint32_t> received{0};
  bool in_order = true;
  std::thread t([&] {
    for (uint32_t i = 0;; ++i) {
      Received r = simtest::Receive(*reader);
      if (!r.ok) return;
      in_order = in_order && r.sequence() == i;
      received = i + 1;
    }
  });
  while (received < 2000) std::this_thread::sleep_for(1ms);
  auto start = std::chrono::steady_clock::now();
  daemon.stop(SIGKILL);
  t.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(in_order);
  EXPECT_FALSE(simtest::Receive(*reader).ok);
  EXPECT_FALSE(Execute(*reader, READ_CODE_VERSION).ok);
}

}  // namespace
