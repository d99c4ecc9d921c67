// The talvcap program against a real talvcard: pipes, signals, readers that
// leave, and packet analysers running it as their external capture program.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/cardsim/frame_fixture.h"
#include "tests/tools/talvcap/pcap_records.h"

namespace {

using namespace std::chrono_literals;
using talvcap_test::ReadPcap;

constexpr char kExtcapFolder[] = "/usr/lib/x86_64-linux-gnu/wireshark/extcap";

struct Shell {
  int status = -1;
  std::string out;
};

// Runs a bash command line and returns its exit status and standard output.
Shell RunShell(const std::string& command) {
  Shell result;
  std::FILE* p = popen(("bash -c '" + command + "'").c_str(), "r");
  if (p == nullptr) return result;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) result.out.append(buffer, n);
  const int status = pclose(p);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class TalvcapProcessTest : public ::testing::Test {
 protected:
  TalvcapProcessTest() : daemon(dir.path(), {"--card", "TALVSTRM0 pci configured"}) {
    EXPECT_TRUE(daemon.serving()) << "talvcard did not start";
    setenv("TALVSTRM_DIR", dir.path().c_str(), 1);
    SocketCardDriver driver(dir.path());
    uint32_t error = 0;
    auto control = driver.open("TALVSTRM0", &error);
    EXPECT_TRUE(control) << error;
    if (control) simtest::ConfigureAndEnable(*control);
  }

  cardsim::CtlReply ctl(const std::string& line) {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir.path(), &error);
    EXPECT_TRUE(client) << error;
    return client ? client->call(line) : cardsim::CtlReply{};
  }
  std::string path(const std::string& name) const { return dir.path() + "/" + name; }

  simtest::TempDir dir;
  simtest::DaemonProcess daemon;
  const std::string talvcap = TALVCAP_PATH;
};

TEST_F(TalvcapProcessTest, StandardOutputIntoAnAnalyserReadingAPipe) {
  ASSERT_TRUE(ctl("gen 0 0 6 200").ok);
  const Shell s = RunShell(talvcap + " -i TALVSTRM0 -w - -c 200 2>" + path("err") +
                           " | tshark -r - -T fields -e chdlc.address 2>/dev/null | tail -n 2");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out, "0xc6\n0xc7\n");
  EXPECT_EQ(ReadText(path("err")), "200 frames captured, 0 dropped\n");
}

TEST_F(TalvcapProcessTest, TerminatedMidCaptureLeavesAValidFileWithEveryCountedFrame) {
  ASSERT_TRUE(ctl("gen 0 2000 6").ok);
  const std::string file = path("out.pcap");
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen(path("err").c_str(), "w", stderr);
    execl(talvcap.c_str(), "talvcap", "-i", "TALVSTRM0", "-w", file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 500 && (!std::filesystem::exists(file) || std::filesystem::file_size(file) < 2000); ++i)
    std::this_thread::sleep_for(10ms);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  unsigned long long captured = 0, dropped = 0;
  ASSERT_EQ(std::sscanf(ReadText(path("err")).c_str(), "%llu frames captured, %llu dropped", &captured, &dropped), 2)
      << ReadText(path("err"));
  auto contents = ReadPcap(file);
  ASSERT_TRUE(contents);
  EXPECT_GT(captured, 0u);
  EXPECT_EQ(contents->records.size(), captured);
  EXPECT_EQ(dropped, 0u);
}

TEST_F(TalvcapProcessTest, AReaderThatLeavesEndsTheCaptureWithoutKillingTheProgram) {
  ASSERT_TRUE(ctl("gen 0 2000 6").ok);
  const Shell s = RunShell(talvcap + " -i TALVSTRM0 -w - 2>" + path("err") +
                           " | head -c 1000 >/dev/null; echo \"${PIPESTATUS[0]}\"");
  EXPECT_EQ(s.out, "0\n");
  EXPECT_NE(ReadText(path("err")).find(" frames captured, "), std::string::npos) << ReadText(path("err"));
}

TEST_F(TalvcapProcessTest, ExtcapQuestionsAnsweredOnStandardOutput) {
  Shell s = RunShell(talvcap + " --extcap-interfaces --extcap-version=4.0.17");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out,
            "extcap {version=1.0.0}{help=talvcap --help}\n"
            "interface {value=TALVSTRM0}{display=Talvlink PCI card (TALVSTRM0)}\n");
  s = RunShell("TALVSTRM_DIR=" + path("none") + " " + talvcap + " --extcap-interfaces");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out, "extcap {version=1.0.0}{help=talvcap --help}\n");
  s = RunShell(talvcap + " --extcap-interface TALVSTRM0 --extcap-dlts");
  EXPECT_EQ(s.out, "dlt {number=104}{name=C_HDLC}{display=Cisco HDLC}\n");
  s = RunShell(talvcap + " --extcap-interface TALVSTRM0 --extcap-config");
  EXPECT_NE(s.out.find("{call=--enable-comms}"), std::string::npos) << s.out;
  EXPECT_NE(s.out.find("{call=--count}"), std::string::npos) << s.out;

  // A filter being checked: silence is valid, the reason is not.
  s = RunShell(talvcap + " --extcap-interface TALVSTRM0 --extcap-capture-filter \"link[0] = 0x8f\"");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out, "");
  s = RunShell(talvcap + " --extcap-interface TALVSTRM0 --extcap-capture-filter \"link[0] = = 1\"");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.out, "can't parse filter expression: syntax error\n");
}

// The analyser finds talvcap in its extcap folder, here a private bind mount
// that `cmake --install` puts the link into.
class ExtcapTest : public TalvcapProcessTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0 || !std::filesystem::is_directory(kExtcapFolder) || RunShell("command -v tshark").status != 0 ||
        RunShell("unshare -m true").status != 0)
      GTEST_SKIP() << "needs root, mount namespaces, tshark and " << kExtcapFolder;
    std::filesystem::create_directory(path("extcap"));
  }
  // Runs the command with only the installed talvcap in the extcap folder.
  Shell inNamespace(const std::string& command) {
    return RunShell("timeout 60 unshare -m bash -c \"mount --bind " + path("extcap") + " " + kExtcapFolder + " && " +
                    CMAKE_COMMAND + " --install " + BUILD_DIR + " --component talvcap --prefix " + path("prefix") +
                    " >/dev/null && " + command + "\"");
  }
};

TEST_F(ExtcapTest, AnalyserListsCapturesAndFiltersThroughTalvcap) {
  Shell s = inNamespace("readlink " + std::string(kExtcapFolder) + "/talvcap");
  EXPECT_EQ(s.out, path("prefix") + "/bin/talvcap\n");
  s = inNamespace("tshark -D 2>/dev/null");
  EXPECT_NE(s.out.find(". TALVSTRM0 (Talvlink PCI card (TALVSTRM0))\n"), std::string::npos) << s.out;

  ASSERT_TRUE(ctl("gen 0 0 6 1000").ok);
  s = inNamespace("tshark -i TALVSTRM0 -c 1000 -w " + path("all.pcapng") + " 2>&1");
  ASSERT_EQ(s.status, 0) << s.out;
  EXPECT_EQ(s.out.find("extcap"), std::string::npos) << s.out;
  s = RunShell("tshark -r " + path("all.pcapng") + " -T fields -e chdlc.address -e chdlc.protocol 2>/dev/null");
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    char line[32];
    std::snprintf(line, sizeof line, "0x%02x\t0x0000\n", i & 0xFF);
    expected += line;
  }
  EXPECT_EQ(s.out, expected);

  ASSERT_TRUE(ctl("gen 0 0 6 1000").ok);
  s = inNamespace("tshark -i TALVSTRM0 -f \\\"link[0] = 0x8f\\\" -c 4 -w " + path("8f.pcapng") + " 2>&1");
  ASSERT_EQ(s.status, 0) << s.out;
  auto kept = ReadPcap(path("8f.pcapng"));
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->records.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(kept->sequence(i), 0x8F + 256 * i);

  s = inNamespace("tshark -i TALVSTRM0 -f \\\"link[0] = = 1\\\" -c 1 -w " + path("bad.pcapng") + " 2>&1");
  EXPECT_NE(s.status, 0);
  EXPECT_NE(s.out.find("bad capture filter \"link[0] = = 1\": can't parse filter expression: syntax error"),
            std::string::npos)
      << s.out;
}

}  // namespace
