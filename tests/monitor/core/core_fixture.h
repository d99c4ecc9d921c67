#pragma once
// A monitor core over fakes: a scripted card that answers mailbox commands
// from a table, a settings file in a temporary directory.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "monitor/core/menu_ids.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/monitor_core.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/scripted_driver.h"

struct CardReply {
  uint8_t rc = 0;
  std::vector<uint8_t> data;
  bool answered = true;  // false: the request fails and the block is left as it is
};

class CoreTest : public ::testing::Test {
 protected:
  CoreTest() {
    dir_ = std::filesystem::temp_directory_path() /
           ("talvmon-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(dir_);
    ini_path_ = (dir_ / "talvmon.ini").string();
    driver.answer = [this](const fake::Request& r, uint8_t* out, size_t out_len) {
      if (r.code == IOCTL_TE_CONFIG) {
        if (te_verdict < 0) return false;
        out[12] = static_cast<uint8_t>(te_verdict);
        return true;
      }
      if (r.code != IOCTL_EXEC_CMD && r.code != IOCTL_EXEC_CMD_2K) return false;
      uint8_t command = r.in[1];
      CardReply reply;
      auto queued = queue.find(command);
      if (queued != queue.end() && !queued->second.empty()) {
        reply = queued->second.front();
        queued->second.erase(queued->second.begin());
      } else if (auto it = replies.find(command); it != replies.end()) {
        reply = it->second;
      }
      if (!reply.answered) return false;
      std::copy(r.in.begin(), r.in.end(), out);
      out[4] = reply.rc;
      out[2] = static_cast<uint8_t>(reply.data.size());
      out[3] = static_cast<uint8_t>(reply.data.size() >> 8);
      std::copy(reply.data.begin(), reply.data.end(), out + 16);
      (void)out_len;
      return true;
    };
    replies[READ_CHDLC_CONFIGURATION] = {0, ConfigBytes()};
    replies[READ_CODE_VERSION] = {0, {'4', '.', '0', '2'}};
  }
  ~CoreTest() override {
    app.reset();
    std::filesystem::remove_all(dir_);
  }

  static std::vector<uint8_t> ConfigBytes(uint32_t baud = 64000, uint16_t max_frame = 1500) {
    std::vector<uint8_t> b(48);
    StreamingConfig c;
    c.baud_rate = baud;
    c.max_frame_size = max_frame;
    c.Write(b);
    return b;
  }

  void writeIni(const std::string& content) { std::ofstream(ini_path_, std::ios::binary) << content; }
  std::string readIni() const {
    std::ifstream f(ini_path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  // Builds the core and runs its start-up.
  void start() {
    settings = std::make_unique<ProfileFile>(ini_path_);
    app = std::make_unique<MonitorApp>(CoreServices{host, prompter, driver, *settings});
    core = &app->core();
    ASSERT_TRUE(app->Start());
  }
  void openDevice() {
    core->connection().setConfigured();
    host.command(kMenuOpenDevice);
    ASSERT_TRUE(core->connection().connected());
  }
  void tick() { host.command(kMenuPollNow); }
  fake::FakeForm& window(const char* name) {
    fake::FakeForm* f = host.window(name);
    EXPECT_NE(f, nullptr) << name;
    return *f;
  }
  std::vector<uint8_t> sent() const { return driver.commands(); }

  fake::FakeHost host;
  fake::FakePrompter prompter;
  fake::ScriptedDriver driver;
  std::map<uint8_t, CardReply> replies;
  std::map<uint8_t, std::vector<CardReply>> queue;  // replies used once, before `replies`
  int te_verdict = 0;  // the result byte IOCTL_TE_CONFIG answers; -1 fails the request
  std::unique_ptr<ProfileFile> settings;
  std::unique_ptr<MonitorApp> app;
  MonitorCore* core = nullptr;
  std::string ini_path_;

 private:
  std::filesystem::path dir_;
  static inline int counter_ = 0;
};
