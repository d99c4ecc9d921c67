#pragma once
// A talvcard serving the demo cards on a directory of the test's own, and
// talvctl run against it.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cardsim/daemon_process.h"
#include "tests/tools/talvctl/talvctl_process.h"

class TalvctlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    daemon_ = std::make_unique<simtest::DaemonProcess>(dir_.path());
    ASSERT_TRUE(daemon_->serving());
  }

  ctltest::CtlRun ctl(const std::vector<std::string>& args) { return ctltest::RunTalvctl(dir_.path(), args); }

  // Runs a command with --json, expects success, and parses stdout.
  nlohmann::json read(std::vector<std::string> args) {
    args.push_back("--json");
    const ctltest::CtlRun run = ctl(args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return nlohmann::json::parse(run.out, nullptr, false);
  }

  // A talvcard control command, e.g. "rc TALVSTRM1 0x26 5 1".
  std::string sim(const std::string& line) {
    std::vector<std::string> args = {"ctl", "--dir", dir_.path()};
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    const simtest::RunResult r = simtest::RunTalvcard(args);
    EXPECT_EQ(r.exit_code, 0) << r.out;
    return r.out;
  }

  // `talvcard ctl state CARD` as key -> value.
  std::map<std::string, std::string> state(const std::string& card) {
    std::map<std::string, std::string> fields;
    std::istringstream words(sim("state " + card));
    for (std::string w; words >> w;) {
      const size_t eq = w.find('=');
      if (eq != std::string::npos) fields[w.substr(0, eq)] = w.substr(eq + 1);
    }
    return fields;
  }

  const std::string& directory() const { return dir_.path(); }

 private:
  simtest::TempDir dir_;
  std::unique_ptr<simtest::DaemonProcess> daemon_;
};
