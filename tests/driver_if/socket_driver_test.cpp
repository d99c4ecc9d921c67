#include "driver_if/socket_driver.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "driver_if/wire.h"

namespace {

using namespace std::chrono_literals;

std::string MakeTempDir() {
  char pattern[] = "/tmp/talv-sock-XXXXXX";
  EXPECT_NE(mkdtemp(pattern), nullptr);
  return pattern;
}

int Listen(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strcpy(a.sun_path, path.c_str());
  EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  EXPECT_EQ(listen(fd, 4), 0);
  return fd;
}

std::vector<uint8_t> Reply(uint8_t ok, uint32_t returned, std::vector<uint8_t> data = {}) {
  std::array<uint8_t, 5> head;
  head[0] = ok;
  le::put_u32(head, 1, returned);
  data.insert(data.begin(), head.begin(), head.end());
  return data;
}

// A peer on <dir>/TALVSTRM0 that takes one connection, records each
// request, and answers it with the next scripted byte string. When the
// script runs out it closes the connection, or, if asked, holds it silent
// until the client goes.
class ScriptedPeer {
 public:
  ScriptedPeer(std::vector<std::vector<uint8_t>> script, bool hold = false)
      : dir_(MakeTempDir()), listener_(Listen(dir_ + "/TALVSTRM0")) {
    thread_ = std::thread([this, script, hold] {
      int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      wire::Reader reader(fd);
      for (const auto& reply : script) {
        std::array<uint8_t, 12> head;
        if (reader.readExact(head) != wire::Reader::Status::kOk) break;
        auto h = wire::DecodeRequestHeader(head);
        std::vector<uint8_t> in(h ? h->in_len : 0);
        if (!in.empty() && reader.readExact(in) != wire::Reader::Status::kOk) break;
        headers.push_back(*h);
        bodies.push_back(in);
        const std::span<const uint8_t> pieces[] = {reply};
        wire::SendAll(fd, pieces);
      }
      // Holding, it answers nothing more but still records what comes in.
      while (hold && !release_) {
        std::array<uint8_t, 12> head;
        if (reader.readExact(head) != wire::Reader::Status::kOk) break;
        auto h = wire::DecodeRequestHeader(head);
        std::vector<uint8_t> in(h ? h->in_len : 0);
        if (!in.empty() && reader.readExact(in) != wire::Reader::Status::kOk) break;
        headers.push_back(*h);
        bodies.push_back(in);
      }
      close(fd);
    });
  }
  ~ScriptedPeer() {
    release_ = true;
    shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    close(listener_);
    std::filesystem::remove_all(dir_);
  }
  std::unique_ptr<DeviceHandle> open() {
    uint32_t error = 0;
    auto h = SocketCardDriver(dir_).open("TALVSTRM0", &error);
    EXPECT_TRUE(h) << error;
    return h;
  }
  void join() { thread_.join(); }

  std::vector<wire::RequestHeader> headers;
  std::vector<std::vector<uint8_t>> bodies;

 private:
  std::string dir_;
  int listener_;
  std::atomic<bool> release_{false};
  std::thread thread_;
};

TEST(SocketDriverTest, RequestGoesOutAsWrittenAndReplyFillsOnlyTheStartOfOut) {
  std::vector<std::vector<uint8_t>> script = {Reply(1, 3, {7, 8, 9}), Reply(0, 0)};
  std::unique_ptr<DeviceHandle> h;
  std::array<uint8_t, 8> out;
  out.fill(0xEE);
  uint32_t returned = 0;
  {
    ScriptedPeer peer(script);
    h = peer.open();
    const uint8_t in[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(h->control(0x220034, in, sizeof in, out.data(), out.size(), &returned));
    EXPECT_EQ(returned, 3u);
    EXPECT_EQ(out, (std::array<uint8_t, 8>{7, 8, 9, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
    // A failed request is a valid reply: the handle stays usable.
    EXPECT_FALSE(h->control(0x220028, nullptr, 0, out.data(), out.size(), &returned));
    peer.join();
    ASSERT_EQ(peer.headers.size(), 2u);
    EXPECT_EQ(peer.headers[0].code, 0x220034u);
    EXPECT_EQ(peer.headers[0].in_len, 5u);
    EXPECT_EQ(peer.headers[0].out_len, 8u);
    EXPECT_EQ(peer.bodies[0], (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(peer.headers[1].in_len, 0u);
  }
}

// Each of these breaks the stream: the request fails, the caller's buffer
// keeps its bytes, and the handle is dead afterwards.
TEST(SocketDriverTest, BrokenRepliesFailAndKillTheHandle) {
  struct Case {
    const char* what;
    std::vector<uint8_t> reply;
  };
  const Case cases[] = {
      {"more than out_len", Reply(1, 9, {1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"bad ok byte", Reply(2, 0)},
      {"failure with data", Reply(0, 1, {1})},
      {"short header", {1, 3, 0}},
      {"short data", Reply(1, 4, {1, 2})},
      {"no reply at all", {}},
  };
  for (const auto& c : cases) {
    ScriptedPeer peer({c.reply});
    auto h = peer.open();
    std::array<uint8_t, 8> out;
    out.fill(0xEE);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(h->control(1, nullptr, 0, out.data(), out.size(), nullptr)) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.what;
    for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE) << c.what << " " << i;
    EXPECT_FALSE(h->control(1, nullptr, 0, out.data(), out.size(), nullptr)) << c.what;
  }
}

TEST(SocketDriverTest, OversizedRequestsFailLocally) {
  ScriptedPeer peer({Reply(1, 0)});
  auto h = peer.open();
  std::vector<uint8_t> big(wire::kMaxLength + 1);
  EXPECT_FALSE(h->control(1, big.data(), big.size(), nullptr, 0, nullptr));
  EXPECT_FALSE(h->control(1, nullptr, 0, big.data(), big.size(), nullptr));
  EXPECT_FALSE(h->control(1, nullptr, 4, nullptr, 0, nullptr));
  EXPECT_TRUE(h->control(1, big.data(), wire::kMaxLength, big.data(), wire::kMaxLength, nullptr));
}

TEST(SocketDriverTest, CancelReleasesAPendingRequestAndEveryLaterOne) {
  ScriptedPeer peer({}, /*hold=*/true);
  auto h = peer.open();
  std::atomic<bool> finished{false};
  bool ok = true;
  std::thread waiter([&] {
    std::array<uint8_t, 4> out{};
    ok = h->control(1, nullptr, 0, out.data(), out.size(), nullptr);
    finished = true;
  });
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(finished);
  h->cancel();
  waiter.join();
  EXPECT_FALSE(ok);
  EXPECT_FALSE(h->control(1, nullptr, 0, nullptr, 0, nullptr));
}

TEST(SocketDriverTest, NamesThatAreNoCardDeviceAndMissingSocketsFailWithTwo) {
  std::string dir = MakeTempDir();
  // A socket file that nobody listens on any more.
  int stale = Listen(dir + "/TALVSTRM3");
  close(stale);
  SocketCardDriver driver(dir);
  for (const char* name : {"TALVSTRM0", "TALVSTRM3", "TALVSTRM16", "../x", "", "TALVSTRM-1",
                           "TALVSTRM0/../TALVSTRM3", "talvstrm0"}) {
    uint32_t error = 0;
    EXPECT_FALSE(driver.open(name, &error)) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
  uint32_t error = 0;
  EXPECT_FALSE(SocketCardDriver(dir + "/missing").open("TALVSTRM0", &error));
  EXPECT_EQ(error, kErrorDeviceNotFound);
  EXPECT_FALSE(SocketCardDriver(std::string(200, 'd')).open("TALVSTRM0", &error));
  EXPECT_EQ(error, static_cast<uint32_t>(ENAMETOOLONG));
  std::filesystem::remove_all(dir);
}

// A batch of received frames of one data byte each, as the daemon answers it.
std::vector<uint8_t> FramesReply(std::vector<uint8_t> bytes) {
  std::vector<uint8_t> run;
  for (uint8_t byte : bytes) {
    std::vector<uint8_t> image(wire::kBatchFramePrefix + ReceivedFrame::kDataOffset + 1, 0);
    le::put_u32(image, 0, ReceivedFrame::kDataOffset + 1);
    image[wire::kBatchFramePrefix] = 1;
    image[wire::kBatchFramePrefix + 1] = 1;
    image.back() = byte;
    run.insert(run.end(), image.begin(), image.end());
  }
  return Reply(1, static_cast<uint32_t>(run.size()), run);
}

struct Got {
  bool ok = false;
  uint8_t valid = 0;
  uint8_t byte = 0;
};

Got ReceiveOne(DeviceHandle& h) {
  auto frame = std::make_unique<ReceivedFrame>();
  Got g;
  g.ok = ReceiveFrame(&h, *frame);
  g.valid = frame->valid();
  g.byte = frame->data()[0];
  return g;
}

std::vector<uint32_t> Codes(const std::vector<wire::RequestHeader>& headers) {
  std::vector<uint32_t> codes;
  for (const auto& h : headers) codes.push_back(h.code);
  return codes;
}

constexpr uint32_t kBatch = wire::kReceiveFrames;

TEST(SocketDriverTest, ABatchIsHandedOutOneFramePerReceiveAndFailuresPassThrough) {
  ScriptedPeer peer({FramesReply({0xA1, 0xB2}), FramesReply({0xC3}), Reply(0, 0)});
  auto h = peer.open();
  std::vector<uint8_t> got;
  for (int i = 0; i < 3; ++i) {
    Got g = ReceiveOne(*h);
    EXPECT_TRUE(g.ok && g.valid == 1);
    got.push_back(g.byte);
  }
  EXPECT_FALSE(ReceiveOne(*h).ok);  // the line went down
  peer.join();
  EXPECT_EQ(got, (std::vector<uint8_t>{0xA1, 0xB2, 0xC3}));
  EXPECT_EQ(Codes(peer.headers), (std::vector<uint32_t>{kBatch, kBatch, kBatch}));
  for (size_t i = 0; i < peer.headers.size(); ++i) {
    EXPECT_EQ(peer.headers[i].out_len, wire::kMaxLength);
    ASSERT_EQ(peer.bodies[i].size(), wire::kReceiveFramesInSize);
    EXPECT_EQ(le::get_u32(peer.bodies[i], 0), ReceivedFrame::kSize);  // each image as the caller keeps it
    EXPECT_LE(le::get_u32(peer.bodies[i], 4), 1000u);  // a bounded wait
  }
}

TEST(SocketDriverTest, TheNextBatchesGoOutBeforeFramesInHandAreDelivered) {
  std::vector<std::vector<uint8_t>> script = {FramesReply({0xA1, 0xB2}), FramesReply({0xC3})};
  while (script.size() < wire::kBatchesInFlight) script.push_back(Reply(1, 0));
  ScriptedPeer peer(script);
  auto h = peer.open();
  EXPECT_EQ(ReceiveOne(*h).byte, 0xA1);
  peer.join();  // every request came while 0xB2 was still in hand
  EXPECT_EQ(Codes(peer.headers), std::vector<uint32_t>(wire::kBatchesInFlight, kBatch));
  EXPECT_EQ(ReceiveOne(*h).byte, 0xB2);
  EXPECT_EQ(ReceiveOne(*h).byte, 0xC3);
}

TEST(SocketDriverTest, AnotherRequestGetsItsOwnReplyWhileFramesWaitTheirTurn) {
  // The batches in flight are answered first, one empty as when its wait ran out.
  // The first receive leaves every request in flight but one answered, and
  // then tops them up again.
  const std::vector<uint32_t> codes = [] {
    std::vector<uint32_t> c(wire::kBatchesInFlight + 1, kBatch);
    c.push_back(0x220034);
    return c;
  }();
  for (bool empty : {false, true}) {
    std::vector<std::vector<uint8_t>> script = {FramesReply({0xA1, 0xB2}),
                                                empty ? Reply(1, 0) : FramesReply({0xC3})};
    while (script.size() < wire::kBatchesInFlight + 1) script.push_back(Reply(1, 0));
    script.push_back(Reply(1, 3, {7, 8, 9}));
    ScriptedPeer peer(script);
    auto h = peer.open();
    EXPECT_EQ(ReceiveOne(*h).byte, 0xA1);
    std::array<uint8_t, 3> out{};
    uint32_t returned = 0;
    EXPECT_TRUE(h->control(0x220034, nullptr, 0, out.data(), out.size(), &returned));
    EXPECT_EQ(out, (std::array<uint8_t, 3>{7, 8, 9}));
    peer.join();
    EXPECT_EQ(ReceiveOne(*h).byte, 0xB2);
    if (!empty) {
      EXPECT_EQ(ReceiveOne(*h).byte, 0xC3);
    }
    EXPECT_EQ(Codes(peer.headers), codes);
  }
}

TEST(SocketDriverTest, ABatchThatDoesNotAddUpBreaksTheHandle) {
  std::vector<uint8_t> cut = FramesReply({0xA1});
  le::put_u32(cut, wire::kReplyHeaderSize, ReceivedFrame::kDataOffset + 2);  // one byte more than follows
  const std::vector<uint8_t> short_prefix = Reply(1, 3, {1, 0, 0});
  for (const auto& bad : {cut, short_prefix}) {
    ScriptedPeer peer({bad, FramesReply({0xB2})});
    auto h = peer.open();
    EXPECT_FALSE(ReceiveOne(*h).ok);
    EXPECT_FALSE(ReceiveOne(*h).ok);
    EXPECT_FALSE(h->control(0x220034, nullptr, 0, nullptr, 0, nullptr));
  }
}

TEST(SocketDriverTest, ClosingTellsHowManyFramesWereDelivered) {
  // One batch answered; the requests in flight after it are never answered.
  std::vector<std::vector<uint8_t>> script(wire::kBatchesInFlight + 2);
  script[0] = FramesReply({0xA1, 0xB2, 0xC3});
  ScriptedPeer peer(script);
  auto h = peer.open();
  EXPECT_EQ(ReceiveOne(*h).byte, 0xA1);
  h.reset();
  peer.join();
  ASSERT_EQ(peer.headers.size(), script.size());
  const size_t last = script.size() - 1;
  EXPECT_EQ(peer.headers[last].code, wire::kFramesDelivered);
  ASSERT_EQ(peer.bodies[last].size(), wire::kFramesDeliveredSize);
  EXPECT_EQ(wire::DecodeFramesDelivered(
                std::span<const uint8_t, wire::kFramesDeliveredSize>(peer.bodies[last])),
            1u);
}

TEST(SocketDriverTest, CancelEndsAReaderAtOnceAndTellsTheCount) {
  ScriptedPeer peer({FramesReply({0xA1, 0xB2}), {}}, /*hold=*/true);
  auto h = peer.open();
  EXPECT_EQ(ReceiveOne(*h).byte, 0xA1);
  EXPECT_EQ(ReceiveOne(*h).byte, 0xB2);
  std::atomic<bool> finished{false};
  std::thread reader([&] {
    ReceiveOne(*h);
    finished = true;
  });
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(finished);
  h->cancel();
  reader.join();
  EXPECT_FALSE(ReceiveOne(*h).ok);
  h.reset();
  peer.join();
  ASSERT_FALSE(peer.headers.empty());
  EXPECT_EQ(peer.headers.back().code, wire::kFramesDelivered);
  EXPECT_EQ(wire::DecodeFramesDelivered(
                std::span<const uint8_t, wire::kFramesDeliveredSize>(peer.bodies.back())),
            2u);
}

TEST(SocketDriverTest, DefaultDirectoryFollowsTheEnvironment) {
  struct Case {
    const char* talvstrm_dir;
    const char* runtime_dir;
    std::string expected;
  };
  const Case cases[] = {
      {"/a/b", "/run/user/1", "/a/b"},
      {"", "/run/user/1", "/run/user/1/talvstrm"},
      {nullptr, "/run/user/1", "/run/user/1/talvstrm"},
      {nullptr, nullptr, "/tmp/talvstrm-" + std::to_string(getuid())},
      {nullptr, "", "/tmp/talvstrm-" + std::to_string(getuid())},
  };
  auto set = [](const char* name, const char* value) {
    if (value == nullptr)
      unsetenv(name);
    else
      setenv(name, value, 1);
  };
  for (const auto& c : cases) {
    set("TALVSTRM_DIR", c.talvstrm_dir);
    set("XDG_RUNTIME_DIR", c.runtime_dir);
    EXPECT_EQ(DefaultDeviceDirectory(), c.expected);
  }
  unsetenv("TALVSTRM_DIR");
  unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
