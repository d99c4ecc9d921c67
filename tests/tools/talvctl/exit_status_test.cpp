// The exit statuses scripts rely on, and where the messages go.

#include "tests/tools/talvctl/talvctl_fixture.h"

namespace {

TEST_F(TalvctlTest, RefusedAndUnansweredCommandsExitOneNamingCommandAndCode) {
  sim("rc TALVSTRM1 0x26 5 1");
  const ctltest::CtlRun refused = ctl({"status", "TALVSTRM1", "--json"});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "talvctl status: Error code 0x05 returned on READ_CHDLC_LINK_STATUS\n");

  sim("noanswer TALVSTRM1 0x20 preset 1");
  const ctltest::CtlRun silent = ctl({"info", "TALVSTRM1"});
  EXPECT_EQ(silent.exit_code, 1);
  EXPECT_EQ(silent.err, "talvctl info: Command timeout occurred on READ_CODE_VERSION (return code 0xAA)\n");

  sim("memfail TALVSTRM0 0 0x1FFFF 3");
  const ctltest::CtlRun memory = ctl({"dump", "TALVSTRM0", "0", "10"});
  EXPECT_EQ(memory.exit_code, 1);
  EXPECT_NE(memory.err.find("IOCTL_READ_MEMORY returned status 0x03"), std::string::npos) << memory.err;
}

TEST_F(TalvctlTest, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {},                                         // no subcommand
      {"frobnicate"},                             // unknown subcommand
      {"status"},                                 // no device
      {"status", "TALVSTRM16"},                   // outside the device space
      {"status", "talvstrm1"},
      {"status", "TALVSTRM01"},
      {"status", "TALVSTRM1", "--bogus"},
      {"comms", "TALVSTRM0", "maybe"},
      {"loopback", "TALVSTRM1", "sideways", "on"},
      {"register", "TALVSTRM1", "100"},
      {"dump", "TALVSTRM0", "20000", "1"},        // past the memory
      {"dump", "TALVSTRM0", "1FFF0", "11"},       // runs past its end
      {"dump", "TALVSTRM0", "0", "0"},
      {"modem", "TALVSTRM0", "cts=on"},
      {"ft1", "TALVSTRM0", "status", "framing=D4"},
      {"recv", "TALVSTRM0", "--count", "x"},
      {"recv", "TALVSTRM0", "--count", "0"},
      {"watch", "TALVSTRM0", "--count", "0"},
      {"send", "TALVSTRM0", "--hex", "01", "--count", "0"},
  };
  for (const auto& args : bad) {
    const ctltest::CtlRun run = ctl(args);
    EXPECT_EQ(run.exit_code, 2) << (args.empty() ? "" : args.front()) << " " << (args.size() > 1 ? args.back() : "");
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(TalvctlTest, HelpExitsZeroForEverySubcommand) {
  for (const char* sub : {"list", "info", "status", "stats", "config", "configure", "comms", "send", "recv", "modem",
                          "loopback", "alarms", "ft1", "register", "dump", "watch"}) {
    const ctltest::CtlRun run = ctl({sub, "--help"});
    EXPECT_EQ(run.exit_code, 0) << sub;
    EXPECT_NE(run.out.find("Usage"), std::string::npos) << sub;
  }
}

TEST_F(TalvctlTest, MissingDeviceOrDriverExitsThree) {
  const ctltest::CtlRun absent = ctl({"status", "TALVSTRM9"});
  EXPECT_EQ(absent.exit_code, 3);
  EXPECT_EQ(absent.err, "talvctl status: Cannot open device TALVSTRM9! Error code 2: no such device.\n");

  simtest::TempDir empty;
  EXPECT_EQ(ctltest::RunTalvctl(empty.path(), {"info", "TALVSTRM0"}).exit_code, 3);
  const ctltest::CtlRun none = ctltest::RunTalvctl(empty.path(), {"list", "--json"});
  EXPECT_EQ(none.exit_code, 0);
  EXPECT_EQ(nlohmann::json::parse(none.out)["devices"].size(), 0u);
}

}  // namespace
