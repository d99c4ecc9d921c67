// comms, send, recv and stats: frames over the simulated line, and the card
// left as found when a long-running command is interrupted.

#include <signal.h>

#include "tests/tools/talvctl/talvctl_fixture.h"

namespace {

using nlohmann::json;

class TalvctlTrafficTest : public TalvctlTest {
 protected:
  void SetUp() override {
    TalvctlTest::SetUp();
    ASSERT_EQ(ctl({"configure", "TALVSTRM0", "baud=64000"}).exit_code, 0);
  }
};

TEST_F(TalvctlTrafficTest, SentFramesComeBackAndAreCounted) {
  ASSERT_EQ(ctl({"comms", "TALVSTRM0", "on"}).exit_code, 0);
  const json sent = read({"send", "TALVSTRM0", "--hex", "03 cc 45 1", "--count", "3"});
  EXPECT_EQ(sent["frames_sent"], 3);
  EXPECT_EQ(sent["length"], 4);
  ASSERT_EQ(ctl({"send", "TALVSTRM0", "--text", "ABC"}).exit_code, 0);

  const ctltest::CtlRun text = ctl({"recv", "TALVSTRM0", "--count", "1"});
  EXPECT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(text.out.find("length=4 03 CC 45 01\n"), std::string::npos) << text.out;
  // Someone had enabled the line already: frames are shared, and it stays on.
  EXPECT_NE(text.err.find("frames are shared"), std::string::npos);

  const json frames = read({"recv", "TALVSTRM0", "--count", "3"});
  ASSERT_EQ(frames["count"], 3);
  EXPECT_EQ(frames["frames"][1]["data"], "03 CC 45 01");
  EXPECT_EQ(frames["frames"][2]["data"], "41 42 43");
  EXPECT_EQ(frames["frames"][2]["length"], 3);
  EXPECT_EQ(state("TALVSTRM0")["comms"], "1");

  const json stats = read({"stats", "TALVSTRM0", "--clear"});
  EXPECT_EQ(stats["operational"]["frames_transmitted"], 4);
  EXPECT_EQ(stats["operational"]["bytes_transmitted"], 15);
  EXPECT_EQ(stats["cleared"], true);
  EXPECT_EQ(read({"stats", "TALVSTRM0"})["operational"]["frames_transmitted"], 0);
}

TEST_F(TalvctlTrafficTest, RecvEnablesAnIdleLineAndDisablesItAgain) {
  ctltest::TalvctlProcess recv(directory(), {"recv", "TALVSTRM0", "--count", "1"});
  for (int i = 0; i < 500 && state("TALVSTRM0")["comms"] != "1"; ++i) usleep(10000);
  ASSERT_EQ(state("TALVSTRM0")["comms"], "1");
  ASSERT_EQ(ctl({"send", "TALVSTRM0", "--hex", "7E"}).exit_code, 0);
  const ctltest::CtlRun run = recv.finish();
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("length=1 7E\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(state("TALVSTRM0")["comms"], "0");
}

TEST_F(TalvctlTrafficTest, InterruptedRecvLeavesTheLineAsFound) {
  for (int signal : {SIGINT, SIGTERM}) {
    // Found off: it enabled the line, so it disables it.
    ctltest::TalvctlProcess own(directory(), {"recv", "TALVSTRM0"});
    for (int i = 0; i < 500 && state("TALVSTRM0")["comms"] != "1"; ++i) usleep(10000);
    own.signal(signal);
    EXPECT_EQ(own.finish().exit_code, 0);
    EXPECT_EQ(state("TALVSTRM0")["comms"], "0");

    // Found on: nothing of the line is its to disable.
    ASSERT_EQ(ctl({"comms", "TALVSTRM0", "on"}).exit_code, 0);
    ctltest::TalvctlProcess shared(directory(), {"recv", "TALVSTRM0"});
    ASSERT_EQ(ctl({"send", "TALVSTRM0", "--hex", "01"}).exit_code, 0);
    ASSERT_TRUE(shared.awaitOutput("length=1 01"));
    shared.signal(signal);
    EXPECT_EQ(shared.finish().exit_code, 0);
    EXPECT_EQ(state("TALVSTRM0")["comms"], "1");
    ASSERT_EQ(ctl({"comms", "TALVSTRM0", "off"}).exit_code, 0);
  }
}

TEST_F(TalvctlTrafficTest, TwoReadersLeaveTheLineToTheOneThatEnabledIt) {
  ctltest::TalvctlProcess first(directory(), {"recv", "TALVSTRM0"});
  for (int i = 0; i < 500 && state("TALVSTRM0")["comms"] != "1"; ++i) usleep(10000);
  ASSERT_EQ(state("TALVSTRM0")["comms"], "1");
  ctltest::TalvctlProcess second(directory(), {"recv", "TALVSTRM0"});
  ASSERT_EQ(ctl({"send", "TALVSTRM0", "--hex", "02"}).exit_code, 0);
  for (int i = 0; i < 500 && std::stoi(state("TALVSTRM0")["handles"]) < 4; ++i) usleep(10000);

  second.signal(SIGINT);
  const ctltest::CtlRun joined = second.finish();
  EXPECT_EQ(joined.exit_code, 0);
  EXPECT_NE(joined.err.find("frames are shared"), std::string::npos) << joined.err;
  EXPECT_EQ(state("TALVSTRM0")["comms"], "1");

  first.signal(SIGINT);
  EXPECT_EQ(first.finish().exit_code, 0);
  EXPECT_EQ(state("TALVSTRM0")["comms"], "0");
}

TEST_F(TalvctlTrafficTest, RecvTimeoutEndsQuietlyAndSendCountStopsOnSigint) {
  const ctltest::CtlRun quiet = ctl({"recv", "TALVSTRM0", "--timeout", "0.2"});
  EXPECT_EQ(quiet.exit_code, 0) << quiet.err;
  EXPECT_EQ(quiet.out, "");
  EXPECT_EQ(state("TALVSTRM0")["comms"], "0");

  ASSERT_EQ(ctl({"comms", "TALVSTRM0", "on"}).exit_code, 0);
  ctltest::TalvctlProcess sender(directory(), {"send", "TALVSTRM0", "--hex", "55", "--count", "1000000", "--interval", "5"});
  for (int i = 0; i < 500 && read({"stats", "TALVSTRM0"})["operational"]["frames_transmitted"] == 0; ++i) usleep(10000);
  sender.signal(SIGINT);
  const ctltest::CtlRun run = sender.finish();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.out.find("(interrupted)"), std::string::npos) << run.out;
  EXPECT_EQ(state("TALVSTRM0")["comms"], "1");
}

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return v;
}

TEST_F(TalvctlTrafficTest, CaptureToStdoutHoldsOneChdlcRecordPerFrame) {
  ASSERT_EQ(ctl({"comms", "TALVSTRM0", "on"}).exit_code, 0);
  ASSERT_EQ(ctl({"send", "TALVSTRM0", "--hex", "0F 00 08 00 45"}).exit_code, 0);
  ASSERT_EQ(ctl({"send", "TALVSTRM0", "--hex", "8F 00"}).exit_code, 0);
  const ctltest::CtlRun run = ctl({"recv", "TALVSTRM0", "--count", "2", "-w", "-"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_EQ(run.out.size(), 24u + 16 + 5 + 16 + 2);
  EXPECT_EQ(U32At(run.out, 20), 104u);  // C_HDLC
  EXPECT_EQ(U32At(run.out, 24 + 8), 5u);
  EXPECT_EQ(run.out.substr(24 + 16, 5), std::string("\x0F\x00\x08\x00\x45", 5));
  EXPECT_EQ(U32At(run.out, 24 + 16 + 5 + 8), 2u);

  EXPECT_EQ(ctl({"recv", "TALVSTRM0", "-w", "-", "--json"}).exit_code, 2);
  EXPECT_EQ(ctl({"recv", "TALVSTRM0", "--count", "1", "-w", directory() + "/no/such/dir/x.pcap"}).exit_code, 1);
}

TEST_F(TalvctlTrafficTest, RefusedFramesAndBadHexAreReported) {
  const ctltest::CtlRun down = ctl({"send", "TALVSTRM0", "--hex", "01 02"});
  EXPECT_EQ(down.exit_code, 1);
  EXPECT_NE(down.err.find("talvctl send: IOCTL_SEND_FRAME returned result 0x"), std::string::npos) << down.err;

  const ctltest::CtlRun bad = ctl({"send", "TALVSTRM0", "--hex", "01 0G 03"});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find("\"0G\" (byte 2)"), std::string::npos) << bad.err;
  EXPECT_EQ(ctl({"send", "TALVSTRM0", "--hex", "123"}).exit_code, 2);
  EXPECT_EQ(ctl({"send", "TALVSTRM0", "--hex", "01", "--text", "x"}).exit_code, 2);
  EXPECT_EQ(ctl({"send", "TALVSTRM0"}).exit_code, 2);
}

}  // namespace
