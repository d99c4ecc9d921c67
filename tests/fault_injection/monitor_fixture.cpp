#include "tests/fault_injection/monitor_fixture.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "driver_if/mailbox.h"
#include "monitor/core/menu_ids.h"
#include "monitor/traffic/set_config_dialog.h"

namespace faults {

namespace {

const std::vector<std::string> kDemoCards = {
    "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 ft1 configured plug",
    "TALVSTRM1 pci bus=0 slot=9 cpu=A port=primary t1 configured plug",
    "TALVSTRM2 pci bus=0 slot=10 cpu=B port=secondary e1 configured plug",
    "TALVSTRM3 pci bus=0 slot=11 cpu=A port=primary 56k configured plug",
};

// Longest text any window is given: the dump of a 4000-byte frame.
constexpr size_t kMaxText = 32768;
// Longest list line: the terminal's 501 characters.
constexpr size_t kMaxLine = 501;

bool Printable(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

}  // namespace

Watchdog::Watchdog(std::chrono::seconds limit) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "?";
  thread_ = std::thread([this, limit, name] {
    std::unique_lock lock(mutex_);
    if (done_cv_.wait_for(lock, limit, [this] { return done_; })) return;
    std::fprintf(stderr, "%s: still running after %lld s, taken for a hang\n", name.c_str(),
                 static_cast<long long>(limit.count()));
    std::abort();
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  done_cv_.notify_all();
  thread_.join();
}

const std::vector<uint8_t>& MailboxCommands() {
  static const std::vector<uint8_t> commands = {
      READ_GLOBAL_STATISTICS,     SET_MODEM_STATUS,        READ_MODEM_STATUS,
      READ_COMMS_ERROR_STATS,     FLUSH_COMMS_ERROR_STATS, READ_CODE_VERSION,
      SET_CHDLC_CONFIGURATION,    READ_CHDLC_CONFIGURATION, ENABLE_CHDLC_COMMUNICATIONS,
      DISABLE_CHDLC_COMMUNICATIONS, READ_CHDLC_LINK_STATUS, READ_CHDLC_OPERATIONAL_STATS,
      FLUSH_CHDLC_OPERATIONAL_STATS, SET_FT1_CONFIGURATION, READ_FT1_CONFIGURATION,
      SEND_FT1_CHARACTER,         READ_FT1_CHARACTERS,     SET_FT1_MONITOR_FLAGS,
      READ_FT1_OPERATIONAL_STATS, FT1_SELECT,              READ_FT1_STATUS,
      READ_FRONT_END_ALARMS,      READ_FRONT_END_TYPE,     FLUSH_FRONT_END_COUNTERS,
      READ_FRONT_END_REGISTER,    ACTIVATE_LINELB_MODE,    DEACTIVATE_LINELB_MODE,
      ACTIVATE_PAYLB_MODE,        DEACTIVATE_PAYLB_MODE,   ACTIVATE_DDLB_MODE,
      DEACTIVATE_DDLB_MODE,       ACTIVATE_LB_MODE,        DEACTIVATE_LB_MODE,
  };
  return commands;
}

MonitorOverDaemon::MonitorOverDaemon() {
  startDaemon();
  const std::string ini = dir_.path() + "/talvmon.ini";
  std::ofstream(ini) << "[Polling]\nuse_system_timer=1\ntick_interval_ms=1000\n";
  settings_ = std::make_unique<ProfileFile>(ini);
  app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, *settings_});
  EXPECT_TRUE(app_->Start());
}

MonitorOverDaemon::~MonitorOverDaemon() {
  // The program's own way out: the main window goes, then the device.
  if (app_ != nullptr) {
    host_.destroyMainWindow();
    app_->Exit(0);
    host_.runPosted();
    app_.reset();
  }
}

void MonitorOverDaemon::startDaemon() {
  std::vector<std::string> args;
  for (const auto& card : kDemoCards) {
    args.push_back("--card");
    args.push_back(card);
  }
  daemon_ = std::make_unique<simtest::DaemonProcess>(dir_.path(), args);
  ASSERT_TRUE(daemon_->serving());
  std::string error;
  ctl_ = cardsim::CtlClient::Connect(dir_.path(), &error);
  ASSERT_NE(ctl_, nullptr) << error;
}

void MonitorOverDaemon::killDaemon() {
  ctl_.reset();
  EXPECT_EQ(daemon_->stop(SIGKILL), -1);  // died of the signal
  daemon_.reset();
}

std::string MonitorOverDaemon::ctl(const std::string& line) {
  if (ctl_ == nullptr) {
    ADD_FAILURE() << "no control channel for: " << line;
    return {};
  }
  cardsim::CtlReply reply = ctl_->call(line);
  EXPECT_TRUE(reply.ok) << line << ": " << reply.text;
  return reply.text;
}

void MonitorOverDaemon::connect(const std::string& device) {
  app_->core().connection().setDeviceName(device);
  const int media = device == "TALVSTRM1" ? 1 : device == "TALVSTRM2" ? 2 : device == "TALVSTRM3" ? 3 : 0;
  host_.onModal("SETCONFIG", [media](fake::FakeForm& f) {
    f.select(SetConfigDialog::kMediaType, media);
    if (media == 1) f.type(SetConfigDialog::kActiveChannels, "1-24");
    if (media == 2) f.type(SetConfigDialog::kActiveChannels, "1-31");
    f.click(SetConfigDialog::kOk);
  });
  host_.command(kMenuConfigureDevice);
  ASSERT_EQ(host_.pendingModalScripts(), 0u);
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected()) << device;
  ASSERT_EQ(prompter_.count(), 0u) << prompter_.last().text;
}

bool MonitorOverDaemon::hasTe1() {
  uint8_t type = app_->serviceUnit().frontEndType();
  return type == kFrontEndT1 || type == kFrontEndE1;
}

bool MonitorOverDaemon::has56K() { return app_->serviceUnit().frontEndType() == kFrontEnd56K; }

void MonitorOverDaemon::openEveryWindow() {
  openMissingWindows();
  for (const char* name : {"POLLS", "LSTAT", "OPSTATS", "COMES", "MODEMS", "RDETAIL", "DENTRY"})
    EXPECT_NE(host_.window(name), nullptr) << name;
  for (const char* name : {"T1STATUS", "T1STATS", "ADVANCED_FT1_CONFIG"})
    EXPECT_EQ(host_.window(name) != nullptr, hasFt1()) << name;
  for (const char* name : {"TE1ALARMS", "TE1_TESTS"}) EXPECT_EQ(host_.window(name) != nullptr, hasTe1()) << name;
  EXPECT_EQ(host_.window("IDD_56K_STATUS") != nullptr, has56K());
}

void MonitorOverDaemon::openMissingWindows() {
  struct Item {
    int menu;
    const char* name;
    bool wanted;
  };
  const Item items[] = {
      {kMenuOpenAll, "MODEMS", true},
      {kMenuEnableCommunications, "RDETAIL", true},
      {kMenuSendFrames, "DENTRY", true},
      {kMenuFt1Status, "T1STATUS", hasFt1()},
      {kMenuFt1Statistics, "T1STATS", hasFt1()},
      {kMenuAdvancedFt1, "ADVANCED_FT1_CONFIG", hasFt1()},
      {kMenuTe1Alarms, "TE1ALARMS", hasTe1()},
      {kMenuTe1Tests, "TE1_TESTS", hasTe1()},
      {kMenu56KStatus, "IDD_56K_STATUS", has56K()},
  };
  // An open window's item may be greyed: only the missing ones are opened.
  for (const Item& item : items)
    if (item.wanted && host_.window(item.name) == nullptr && host_.isMenuEnabled(item.menu))
      host_.command(item.menu);
  host_.runPosted();
}

void MonitorOverDaemon::tickEveryWindow() {
  host_.firePollTimer();
  for (fake::FakeForm* f : host_.windows()) host_.fireTimer(*f, 1);
  host_.runPosted();
}

fake::FakeForm& MonitorOverDaemon::window(const std::string& name) {
  if (fake::FakeForm* f = host_.window(name)) return *f;
  ADD_FAILURE() << "no window " << name;
  // A stand-in with no controls, so the test goes on to report what else fails.
  struct Inert : ui::FormHandler {
    void onInit(ui::Form&) override {}
  };
  static const ui::FormTemplate empty{.name = "MISSING"};
  static Inert inert;
  static fake::FakeForm missing(empty, inert);
  return missing;
}

std::string MonitorOverDaemon::polling(int id) { return window("POLLS").text(id); }

void MonitorOverDaemon::sendAndAwait(const std::string& hex) {
  ReceiveDetailWindow* detail = app_->communications().receiveDetail();
  ASSERT_NE(detail, nullptr);
  // Frames still on their way count before this one.
  std::this_thread::sleep_for(20ms);
  detail->drain();
  fake::FakeForm& shown = window("RDETAIL");
  const std::string expected = std::to_string(std::stoul(shown.text(ReceiveDetailWindow::kCounter)) + 1);
  fake::FakeForm& send = window("DENTRY");
  send.type(SendFramesWindow::kData, hex);
  send.click(SendFramesWindow::kSend);
  ASSERT_EQ(send.text(SendFramesWindow::kStatus), "Sent - RC 0x00");
  const auto deadline = Clock::now() + 5s;
  while (shown.text(ReceiveDetailWindow::kCounter) != expected && Clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
    detail->drain();
  }
  ASSERT_EQ(shown.text(ReceiveDetailWindow::kCounter), expected);
}

void MonitorOverDaemon::expectCleanTexts() {
  for (fake::FakeForm* f : host_.windows()) {
    for (const auto& c : f->formTemplate().controls) {
      if (c.id == ui::kNoId) continue;
      const std::string text = f->text(c.id);
      EXPECT_TRUE(Printable(text)) << f->formTemplate().name << " " << c.id;
      EXPECT_LE(text.size(), kMaxText) << f->formTemplate().name << " " << c.id;
      for (const auto& line : f->lines(c.id)) {
        EXPECT_TRUE(Printable(line)) << f->formTemplate().name << " " << c.id << ": " << line;
        EXPECT_LE(line.size(), kMaxLine) << f->formTemplate().name << " " << c.id;
      }
    }
  }
}

}  // namespace faults
