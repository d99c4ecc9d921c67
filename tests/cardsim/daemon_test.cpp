// The socket backend against a real talvcard process.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "cardsim/ctl_client.h"
#include "cardsim/return_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "driver_if/socket_driver.h"
#include "driver_if/wire.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/cardsim/sim_fixture.h"

namespace {

using namespace std::chrono_literals;
using simtest::DaemonProcess;
using simtest::Exchange;
using simtest::Execute;
using simtest::TempDir;
namespace fs = std::filesystem;

std::array<uint8_t, StreamingConfig::kSize> ConfigImage(uint32_t baud) {
  std::array<uint8_t, StreamingConfig::kSize> image{};
  StreamingConfig c;
  c.baud_rate = baud;
  c.Write(image);
  return image;
}

// A raw connection to a card socket, for bytes no well-behaved client sends.
int RawConnect(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strcpy(a.sun_path, path.c_str());
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  timeval limit{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  return fd;
}

void SendRaw(int fd, const std::vector<uint8_t>& bytes) {
  const std::span<const uint8_t> pieces[] = {bytes};
  wire::SendAll(fd, pieces);
}

std::vector<uint8_t> RequestBytes(uint32_t code, uint32_t in_len, uint32_t out_len,
                                  std::vector<uint8_t> body = {}) {
  std::array<uint8_t, wire::kRequestHeaderSize> head;
  wire::EncodeRequestHeader({code, in_len, out_len}, head);
  body.insert(body.begin(), head.begin(), head.end());
  return body;
}

// Reads until the daemon closes the connection; false if it did not
// within the receive timeout.
bool ClosedByPeer(int fd) {
  uint8_t buffer[256];
  for (;;) {
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n == 0) return true;
    if (n < 0) return errno == ECONNRESET;
  }
}

class DaemonTest : public ::testing::Test {
 protected:
  DaemonTest() : daemon(dir.path()), driver(dir.path()) {
    EXPECT_TRUE(daemon.serving()) << "talvcard did not start";
  }

  std::unique_ptr<DeviceHandle> open(const char* name = "TALVSTRM1") {
    uint32_t error = 0;
    auto h = driver.open(name, &error);
    EXPECT_TRUE(h) << name << " error " << error;
    return h;
  }

  cardsim::CtlReply ctl(const std::string& line) {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir.path(), &error);
    EXPECT_TRUE(client) << error;
    return client ? client->call(line) : cardsim::CtlReply{};
  }

  std::string socketPath(const char* name) { return dir.path() + "/" + name; }

  TempDir dir;
  DaemonProcess daemon;
  SocketCardDriver driver;
};

TEST_F(DaemonTest, ServingLineNamesTheCardsAndTheDirectory) {
  EXPECT_EQ(daemon.servingLine(), "talvcard: serving TALVSTRM0 TALVSTRM1 TALVSTRM2 TALVSTRM3 in " +
                                      dir.path());
  struct stat st {};
  ASSERT_EQ(stat(dir.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(DaemonTest, TwoHandlesShareOneCardsConfiguration) {
  auto first = open("TALVSTRM1");
  auto second = open("TALVSTRM1");
  auto image = ConfigImage(9600);
  ASSERT_EQ(Execute(*first, SET_CHDLC_CONFIGURATION, image).block.returnCode(), RC_OK);
  Exchange e = Execute(*second, READ_CHDLC_CONFIGURATION);
  ASSERT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(e.block.bufferLength(), StreamingConfig::kSize);
  // A T1 card runs at its line rate, whatever was asked.
  EXPECT_EQ(le::get_u32(e.block.data(), 0), 1536000u);
  EXPECT_EQ(le::get_u16(e.block.data(), 12), 0x8000);
  EXPECT_EQ(Execute(*open("TALVSTRM2"), READ_CHDLC_CONFIGURATION).block.returnCode(),
            cardsim::RC_NOT_CONFIGURED);
}

TEST_F(DaemonTest, AnotherProcessReadsWhatThisOneSet) {
  auto h = open("TALVSTRM0");
  auto image = ConfigImage(19200);
  ASSERT_EQ(Execute(*h, SET_CHDLC_CONFIGURATION, image).block.returnCode(), RC_OK);
  uint8_t dtr_rts[] = {3};
  ASSERT_EQ(Execute(*h, SET_MODEM_STATUS, dtr_rts).block.returnCode(), RC_OK);
  pid_t child = fork();
  if (child == 0) {
    SocketCardDriver d(dir.path());
    auto mine = d.open("TALVSTRM0", nullptr);
    if (!mine) _exit(1);
    Exchange c = Execute(*mine, READ_CHDLC_CONFIGURATION);
    Exchange m = Execute(*mine, READ_MODEM_STATUS);
    bool same = c.block.returnCode() == 0 && le::get_u32(c.block.data(), 0) == 19200 &&
                m.block.data()[0] == 0x28;
    _exit(same ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(DaemonTest, AbsentDevicesAndBadNamesFailWithTwo) {
  for (const char* name : {"TALVSTRM4", "TALVSTRM15", "TALVSTRM16", "../x", "talvcard.ctl",
                           "talvcard.lock", ""}) {
    uint32_t error = 0;
    EXPECT_FALSE(driver.open(name, &error)) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
}

TEST_F(DaemonTest, RepliesLeaveTheRestOfTheCallersBufferAlone) {
  auto h = open("TALVSTRM0");
  std::array<uint8_t, kExecCmdOutputSize> block;
  block.fill(0xEE);
  block[1] = READ_MODEM_STATUS;
  block[2] = block[3] = 0;
  block[4] = RC_PRESET_TIMEOUT;
  uint32_t returned = 0;
  ASSERT_TRUE(h->control(IOCTL_EXEC_CMD, block.data(), 16, block.data(), block.size(), &returned));
  EXPECT_EQ(returned, 17u);
  EXPECT_EQ(block[4], RC_OK);
  for (size_t i = 17; i < block.size(); ++i) ASSERT_EQ(block[i], 0xEE) << i;

  // An unanswered command comes back empty: the preset stays.
  ASSERT_TRUE(ctl("noanswer 0 0x07 preset 1").ok);
  Exchange e = Execute(*h, READ_MODEM_STATUS);
  EXPECT_TRUE(e.ok);
  EXPECT_EQ(e.returned, 0u);
  EXPECT_EQ(e.block.returnCode(), RC_PRESET_TIMEOUT);

  HardwareInfo info;
  ASSERT_TRUE(ReadHardwareInfo(h.get(), info));
  EXPECT_EQ(info.card_type, HardwareInfo::kIsaCard);
  EXPECT_EQ(info.io_port, 0x360u);
  EXPECT_EQ(info.memory_base, 0xD0000u);
  EXPECT_EQ(info.irq, 10u);
}

TEST_F(DaemonTest, FaultsSwitchedThroughTheControlChannel) {
  auto h = open("TALVSTRM1");
  ASSERT_TRUE(ctl("rc TALVSTRM1 0x26 0x05 1").ok);
  EXPECT_EQ(Execute(*h, READ_CHDLC_LINK_STATUS).block.returnCode(), 0x05);
  EXPECT_EQ(Execute(*h, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_OK);
  ASSERT_TRUE(ctl("noanswer 1 0x26 7f 1").ok);
  EXPECT_EQ(Execute(*h, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_FIRMWARE_TIMEOUT);
  ASSERT_TRUE(ctl("refuse 1 0x220034 1").ok);
  HardwareInfo info;
  EXPECT_FALSE(ReadHardwareInfo(h.get(), info));
  EXPECT_TRUE(ReadHardwareInfo(h.get(), info));

  auto other = open("TALVSTRM2");
  ASSERT_TRUE(ctl("drop TALVSTRM1").ok);
  EXPECT_FALSE(Execute(*h, READ_CHDLC_LINK_STATUS).ok);
  EXPECT_TRUE(Execute(*other, READ_CHDLC_LINK_STATUS).ok);
  EXPECT_TRUE(Execute(*open("TALVSTRM1"), READ_CHDLC_LINK_STATUS).ok);

  auto bad = ctl("rc 7 0x26 1");
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(bad.text.empty());

  auto cli = simtest::RunTalvcard({"ctl", "--dir", dir.path(), "state", "TALVSTRM1"});
  EXPECT_EQ(cli.exit_code, 0);
  EXPECT_EQ(cli.out.rfind("configured=0 comms=0 dtr=0 rts=0 handles=", 0), 0u) << cli.out;
  EXPECT_EQ(simtest::RunTalvcard({"ctl", "--dir", dir.path(), "bogus"}).exit_code, 1);
}

TEST_F(DaemonTest, AWaitingRequestHoldsUpNoOtherConnection) {
  ASSERT_TRUE(ctl("delay 1 0x07 1500 1").ok);
  auto slow = open("TALVSTRM1");
  auto fast = open("TALVSTRM1");
  std::atomic<bool> slow_done{false};
  std::thread waiter([&] {
    EXPECT_EQ(Execute(*slow, READ_MODEM_STATUS).block.returnCode(), RC_OK);
    slow_done = true;
  });
  std::this_thread::sleep_for(100ms);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Execute(*fast, READ_CODE_VERSION).block.returnCode(), RC_OK);
  EXPECT_EQ(Execute(*open("TALVSTRM2"), READ_CODE_VERSION).block.returnCode(), RC_OK);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_FALSE(slow_done);
  waiter.join();
}

// Without the peer, a waiting request is not waited for any longer.
TEST_F(DaemonTest, AHandleThatGoesAwayEndsItsWaitingRequest) {
  ASSERT_TRUE(ctl("delay 1 0x07 60000 1").ok);
  auto h = open("TALVSTRM1");
  bool ok = true;
  std::thread waiter([&] { ok = Execute(*h, READ_MODEM_STATUS).ok; });
  std::this_thread::sleep_for(50ms);
  EXPECT_NE(ctl("state 1").text.find("handles=1"), std::string::npos);
  h->cancel();
  waiter.join();
  EXPECT_FALSE(ok);
  std::string state;
  for (int i = 0; i < 200; ++i) {
    state = ctl("state 1").text;
    if (state.find("handles=0") != std::string::npos) break;
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_NE(state.find("handles=0"), std::string::npos) << state;
}

TEST_F(DaemonTest, RequestsInFlightAreAnsweredInOrder) {
  int fd = RawConnect(socketPath("TALVSTRM3"));
  ASSERT_GE(fd, 0);
  auto command = [](uint8_t code, std::vector<uint8_t> data = {}) {
    std::vector<uint8_t> block(16, 0);
    block[1] = code;
    block[2] = static_cast<uint8_t>(data.size());
    block.insert(block.end(), data.begin(), data.end());
    return RequestBytes(IOCTL_EXEC_CMD, static_cast<uint32_t>(block.size()), 1016, block);
  };
  std::vector<uint8_t> all;
  for (auto part : {command(SET_MODEM_STATUS, {2}), command(READ_MODEM_STATUS),
                    RequestBytes(IOCTL_READ_HARDWARE_INFO, 0, 26), command(READ_GLOBAL_STATISTICS)})
    all.insert(all.end(), part.begin(), part.end());
  SendRaw(fd, all);
  wire::Reader reader(fd);
  const uint32_t expected_lengths[] = {16, 17, 26, 18};
  for (size_t i = 0; i < 4; ++i) {
    std::array<uint8_t, 5> head;
    ASSERT_EQ(reader.readExact(head), wire::Reader::Status::kOk);
    auto h = wire::DecodeReplyHeader(head, 1016);
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->ok);
    ASSERT_EQ(h->returned, expected_lengths[i]) << i;
    std::vector<uint8_t> body(h->returned);
    ASSERT_EQ(reader.readExact(body), wire::Reader::Status::kOk);
    if (i == 1) {
      EXPECT_EQ(body[16], 0x20);  // RTS looped back to CTS
    }
    if (i == 2) {
      EXPECT_EQ(le::get_u16(body, 0), HardwareInfo::kPciCard);
    }
  }
  close(fd);
}

TEST_F(DaemonTest, BadInputClosesOnlyItsOwnConnection) {
  auto bystander = open("TALVSTRM1");
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"oversized input", RequestBytes(IOCTL_EXEC_CMD, 16385, 16)},
      {"oversized output", RequestBytes(IOCTL_EXEC_CMD, 16, 0xFFFFFFFF)},
      {"truncated header", {0x28, 0x00, 0x22, 0x00, 0x10}},
      {"truncated body", RequestBytes(IOCTL_EXEC_CMD, 16, 1016, {0, 0x26, 0})},
  };
  for (const auto& c : cases) {
    int fd = RawConnect(socketPath("TALVSTRM1"));
    ASSERT_GE(fd, 0) << c.what;
    SendRaw(fd, c.bytes);
    shutdown(fd, SHUT_WR);
    EXPECT_TRUE(ClosedByPeer(fd)) << c.what;
    close(fd);
    EXPECT_EQ(Execute(*bystander, READ_CHDLC_LINK_STATUS).block.returnCode(), RC_OK) << c.what;
  }
  // A well-formed request for something the card does not do fails, and
  // the connection goes on.
  int fd = RawConnect(socketPath("TALVSTRM1"));
  SendRaw(fd, RequestBytes(0xDEAD, 3, 7, {1, 2, 3}));
  std::array<uint8_t, 5> head{};
  ASSERT_EQ(recv(fd, head.data(), head.size(), MSG_WAITALL), 5);
  EXPECT_EQ(head, (std::array<uint8_t, 5>{0, 0, 0, 0, 0}));
  SendRaw(fd, RequestBytes(IOCTL_READ_HARDWARE_INFO, 0, 26));
  ASSERT_EQ(recv(fd, head.data(), head.size(), MSG_WAITALL), 5);
  EXPECT_EQ(head[0], 1);
  close(fd);
}

TEST_F(DaemonTest, RandomBytesDoNotStopTheDaemon) {
  std::mt19937 random(20240607);
  const std::string path = socketPath("TALVSTRM2");
  const uint32_t codes[] = {IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K, IOCTL_READ_HARDWARE_INFO,
                            IOCTL_RECEIVE_FRAME, 0};
  int closed = 0;
  for (int i = 0; i < 3000; ++i) {
    int fd = RawConnect(path);
    ASSERT_GE(fd, 0) << "connection " << i;
    std::vector<uint8_t> bytes(random() % 160);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    // Half of them start like a request, so the bytes reach the firmware.
    if (i % 2 == 0 && bytes.size() >= 12) {
      uint32_t in_len = static_cast<uint32_t>(bytes.size() - 12);
      uint32_t out_len = random() % 3000;
      std::array<uint8_t, 12> head;
      wire::EncodeRequestHeader({codes[random() % 5], in_len, out_len}, head);
      std::copy(head.begin(), head.end(), bytes.begin());
    }
    SendRaw(fd, bytes);
    shutdown(fd, SHUT_WR);
    closed += ClosedByPeer(fd);
    close(fd);
  }
  EXPECT_EQ(closed, 3000);
  auto h = open("TALVSTRM2");
  EXPECT_TRUE(Execute(*h, READ_CODE_VERSION).ok);
  EXPECT_TRUE(ctl("cards").ok);
}

TEST_F(DaemonTest, KilledDaemonFailsThePendingRequestAndLeavesNoDevice) {
  ASSERT_TRUE(ctl("delay 1 0x07 60000").ok);
  auto h = open("TALVSTRM1");
  std::atomic<bool> done{false};
  bool ok = true;
  std::thread waiter([&] {
    ok = Execute(*h, READ_MODEM_STATUS).ok;
    done = true;
  });
  std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(done);
  daemon.stop(SIGKILL);
  waiter.join();
  EXPECT_FALSE(ok);
  EXPECT_FALSE(Execute(*h, READ_MODEM_STATUS).ok);
  // The socket file is left behind, but nobody answers it.
  EXPECT_TRUE(fs::exists(socketPath("TALVSTRM1")));
  uint32_t error = 0;
  EXPECT_FALSE(driver.open("TALVSTRM1", &error));
  EXPECT_EQ(error, kErrorDeviceNotFound);
  // A new daemon takes the directory over.
  DaemonProcess again(dir.path());
  EXPECT_TRUE(again.serving());
  EXPECT_TRUE(Execute(*open("TALVSTRM1"), READ_MODEM_STATUS).ok);
}

TEST_F(DaemonTest, SecondDaemonOnTheDirectoryRefusesToStart) {
  auto result = simtest::RunTalvcard({"--dir", dir.path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.out.find("already serving"), std::string::npos) << result.out;
  EXPECT_TRUE(Execute(*open("TALVSTRM0"), READ_MODEM_STATUS).ok);
}

TEST_F(DaemonTest, TermRemovesTheSocketsAndEndsPendingRequests) {
  ASSERT_TRUE(ctl("delay 3 0x07 60000").ok);
  auto h = open("TALVSTRM3");
  bool ok = true;
  std::thread waiter([&] { ok = Execute(*h, READ_MODEM_STATUS).ok; });
  std::this_thread::sleep_for(100ms);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(daemon.stop(SIGTERM), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  waiter.join();
  EXPECT_FALSE(ok);
  for (const char* name : {"TALVSTRM0", "TALVSTRM1", "TALVSTRM2", "TALVSTRM3", "talvcard.ctl"})
    EXPECT_FALSE(fs::exists(socketPath(name))) << name;
}

TEST(DaemonStartTest, IntStopsItToo) {
  TempDir dir;
  DaemonProcess daemon(dir.path());
  ASSERT_TRUE(daemon.serving());
  EXPECT_EQ(daemon.stop(SIGINT), 0);
  EXPECT_FALSE(fs::exists(dir.path() + "/TALVSTRM0"));
}

TEST(DaemonStartTest, DirectoryMustBePrivate) {
  TempDir base;
  struct Case {
    const char* what;
    std::function<std::string(const std::string&)> make;  // returns the --dir value
    bool starts;
  };
  const Case cases[] = {
      {"missing, created 0700", [](const std::string& b) { return b + "/new"; }, true},
      {"own 0755", [](const std::string& b) {
         fs::create_directory(b + "/open");
         chmod((b + "/open").c_str(), 0755);
         return b + "/open";
       }, true},
      {"group writable", [](const std::string& b) {
         fs::create_directory(b + "/g");
         chmod((b + "/g").c_str(), 0770);
         return b + "/g";
       }, false},
      {"world writable", [](const std::string& b) {
         fs::create_directory(b + "/w");
         chmod((b + "/w").c_str(), 0703);
         return b + "/w";
       }, false},
      {"symlink", [](const std::string& b) {
         fs::create_directory(b + "/real");
         chmod((b + "/real").c_str(), 0700);
         fs::create_directory_symlink(b + "/real", b + "/link");
         return b + "/link";
       }, false},
      {"a file", [](const std::string& b) {
         std::ofstream(b + "/file") << "x";
         return b + "/file";
       }, false},
      {"parent missing", [](const std::string& b) { return b + "/no/such"; }, false},
  };
  for (const auto& c : cases) {
    std::string path = c.make(base.path());
    DaemonProcess daemon(path);
    EXPECT_EQ(daemon.serving(), c.starts) << c.what;
    if (c.starts) {
      struct stat st {};
      ASSERT_EQ(stat(path.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 022, 0u) << c.what;
      EXPECT_EQ(daemon.stop(SIGTERM), 0);
    }
  }
  if (geteuid() == 0) {
    fs::create_directory(base.path() + "/theirs");
    ASSERT_EQ(chown((base.path() + "/theirs").c_str(), 65534, 65534), 0);
    chmod((base.path() + "/theirs").c_str(), 0700);
    DaemonProcess daemon(base.path() + "/theirs");
    EXPECT_FALSE(daemon.serving()) << "another user's directory";
  }
}

TEST(DaemonStartTest, CardsChosenOnTheCommandLineOrInAFile) {
  TempDir dir;
  std::string file = dir.path() + "/cards.txt";
  std::ofstream(file) << "# two cards\nTALVSTRM5 isa irq=7\nTALVSTRM12 pci e1 baud=64000\n";
  std::string sockets = dir.path() + "/s";
  DaemonProcess daemon(sockets, {"--cards", file});
  ASSERT_TRUE(daemon.serving());
  EXPECT_EQ(daemon.servingLine(), "talvcard: serving TALVSTRM5 TALVSTRM12 in " + sockets);
  SocketCardDriver driver(sockets);
  uint32_t error = 0;
  EXPECT_FALSE(driver.open("TALVSTRM0", &error));
  auto e1 = driver.open("TALVSTRM12", &error);
  ASSERT_TRUE(e1);
  Exchange e = Execute(*e1, READ_CHDLC_CONFIGURATION);
  EXPECT_EQ(e.block.returnCode(), RC_OK);
  EXPECT_EQ(le::get_u32(e.block.data(), 0), 1984000u);

  auto bad = simtest::RunTalvcard({"--dir", sockets + "2", "--card", "TALVSTRM1 vme"});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.out.find("isa or pci"), std::string::npos) << bad.out;
  auto help = simtest::RunTalvcard({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("TALVSTRMn pci"), std::string::npos);
}

// Root may reach the sockets of any user; the daemon still answers only its own.
TEST(DaemonStartTest, PeersOfAnotherUserAreHungUpOn) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  TempDir dir;
  DaemonProcess daemon(dir.path());
  ASSERT_TRUE(daemon.serving());
  chmod(dir.path().c_str(), 0711);
  chmod((dir.path() + "/TALVSTRM0").c_str(), 0666);
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    int fd = RawConnect(dir.path() + "/TALVSTRM0");
    if (fd < 0) _exit(4);
    SendRaw(fd, RequestBytes(IOCTL_READ_HARDWARE_INFO, 0, 26));
    _exit(ClosedByPeer(fd) ? 0 : 5);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  SocketCardDriver driver(dir.path());
  EXPECT_TRUE(driver.open("TALVSTRM0", nullptr));
}

}  // namespace
