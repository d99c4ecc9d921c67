#include <gtest/gtest.h>

#include "monitor/traffic/set_config_dialog.h"
#include "tests/monitor/core/core_fixture.h"

namespace {

using D = SetConfigDialog;

class ApplyTest : public CoreTest {
 protected:
  void SetUp() override {
    writeIni("[Polling]\nuse_system_timer=0\n");
    replies[READ_FRONT_END_TYPE] = {0, {0}};
    start();
  }
  void configureAs(int media, const char* channels = nullptr) {
    host.onModal("SETCONFIG", [=](fake::FakeForm& f) {
      f.select(D::kMediaType, media);
      if (channels != nullptr) f.type(D::kActiveChannels, channels);
      f.click(D::kOk);
    });
    host.command(kMenuConfigureDevice);
  }
  std::vector<uint32_t> codes() const {
    std::vector<uint32_t> out;
    for (const auto& r : driver.requests) out.push_back(r.code);
    return out;
  }
  // The data bytes of the FT1 probes sent.
  std::vector<uint8_t> probes() const {
    std::vector<uint8_t> data;
    for (const auto& r : driver.requests)
      if (r.code == IOCTL_EXEC_CMD && r.in[1] == SET_FT1_MONITOR_FLAGS) data.push_back(r.in[16]);
    return data;
  }
  std::vector<std::string> statuses;
};

TEST_F(ApplyTest, T1SendsLineParametersThenChdlcThenDetects) {
  replies[READ_FRONT_END_TYPE] = {0, {1}};
  configureAs(1, "1-24");
  EXPECT_EQ(codes(), (std::vector<uint32_t>{IOCTL_TE_CONFIG, IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K}));
  const auto& te = driver.requests[0].in;
  EXPECT_EQ(te[0], kMediaT1);
  EXPECT_EQ(le::get_u32(te, 8), 0x00FFFFFFu);
  EXPECT_EQ(te[12], 0xFF);
  const auto& set = driver.requests[1].in;
  EXPECT_EQ(set[1], SET_CHDLC_CONFIGURATION);
  EXPECT_EQ(le::get_u16(set, 2), 48);
  EXPECT_EQ(set.size(), 64u);
  EXPECT_EQ(le::get_u16(set, 16 + 18), 2000);
  EXPECT_EQ(le::get_u16(set, 16 + 12), 0x8000);
  EXPECT_TRUE(core->connection().configured());
  EXPECT_EQ(app->serviceUnit().frontEndType(), 1);
  EXPECT_EQ(driver.open_handles, 0);
  EXPECT_EQ(window("POLLS").text(902), "Closed");
  EXPECT_EQ(window("POLLS").text(900), "Set CHDLC Configuration:");
}

TEST_F(ApplyTest, SerialAnd56KSkipTheLineParameters) {
  configureAs(0);
  EXPECT_EQ(codes(), (std::vector<uint32_t>{IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K, IOCTL_EXEC_CMD, IOCTL_EXEC_CMD}));
  driver.requests.clear();
  replies[READ_FRONT_END_TYPE] = {0, {3}};
  configureAs(3);
  EXPECT_EQ(codes(), (std::vector<uint32_t>{IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K}));
}

TEST_F(ApplyTest, LineVerdictsStopTheApply) {
  const std::pair<int, const char*> cases[] = {
      {2, "Do DISABLE_CHDLC_COMMUNICATIONS command before configuring integrated DSU/CSU"},
      {3, "You have selected invalid media type for the underlying hardware. T1 and E1 options "
          "intended only for VR44 and VR47 cards."},
      {0x41, "ConfigureTECardCommand() returned : 0x41"},
      {-1, "ConfigureTECardCommand() returned : 0xFF"},
  };
  for (const auto& [verdict, text] : cases) {
    SCOPED_TRACE(text);
    te_verdict = verdict;
    driver.requests.clear();
    prompter.clear();
    configureAs(2, "1-31");
    EXPECT_EQ(codes(), (std::vector<uint32_t>{IOCTL_TE_CONFIG}));
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, text);
    EXPECT_EQ(prompter.last().caption, "Configuration Error");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
    EXPECT_FALSE(core->connection().configured());
    EXPECT_EQ(driver.open_handles, 0);
    EXPECT_EQ(window("POLLS").text(902), "Closed");
  }
}

TEST_F(ApplyTest, RefusedChdlcConfigurationAsksRetryOrCancel) {
  queue[SET_CHDLC_CONFIGURATION] = {{0x0A, {}}, {0x0A, {}}};
  prompter.answer(ui::Answer::Retry);
  prompter.answer(ui::Answer::Cancel);
  configureAs(0);
  ASSERT_EQ(prompter.count(), 2u);
  EXPECT_EQ(prompter.last().text, "Error code 0x0A returned on SET_CHDLC_CONFIGURATION. Retry? ");
  EXPECT_EQ(prompter.last().buttons, ui::Buttons::RetryCancel);
  EXPECT_EQ(sent(), (std::vector<uint8_t>{SET_CHDLC_CONFIGURATION, SET_CHDLC_CONFIGURATION}));
  EXPECT_FALSE(core->connection().configured());

  driver.requests.clear();
  queue[SET_CHDLC_CONFIGURATION] = {{0x0A, {}}};
  prompter.answer(ui::Answer::Retry);
  configureAs(0);
  EXPECT_EQ(sent(), (std::vector<uint8_t>{SET_CHDLC_CONFIGURATION, SET_CHDLC_CONFIGURATION,
                                          READ_FRONT_END_TYPE, SET_FT1_MONITOR_FLAGS,
                                          SET_FT1_MONITOR_FLAGS}));
  EXPECT_TRUE(core->connection().configured());
}

TEST_F(ApplyTest, CancelledDialogOpensNothing) {
  host.onModal("SETCONFIG", [](fake::FakeForm& f) { f.click(D::kCancel); });
  host.command(kMenuConfigureDevice);
  EXPECT_TRUE(driver.opened.empty());
}

TEST_F(ApplyTest, FailedOpenShowsTheErrorAndSendsNothing) {
  driver.open_error = 2;
  configureAs(0);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Cannot open device! Error code 2.");
  EXPECT_TRUE(driver.requests.empty());
  EXPECT_EQ(window("POLLS").text(902), "Closed");
}

TEST_F(ApplyTest, FirstOpenConfiguresAndStillOpensAfterCancel) {
  host.onModal("SETCONFIG", [](fake::FakeForm& f) { f.click(D::kCancel); });
  host.command(kMenuOpenDevice);
  EXPECT_TRUE(core->connection().connected());
  host.command(kMenuCloseDevice);
  host.onModal("SETCONFIG", [](fake::FakeForm& f) { f.click(D::kOk); });
  host.command(kMenuOpenDevice);
  EXPECT_TRUE(core->connection().configured());
  host.command(kMenuCloseDevice);
  size_t modals = host.modalsRun().size();
  host.command(kMenuOpenDevice);
  EXPECT_EQ(host.modalsRun().size(), modals);
}

TEST_F(ApplyTest, DetectionSelectsTheUtilityItems) {
  struct Case {
    std::vector<uint8_t> type;
    uint8_t type_rc;
    uint8_t probe_rc;
    std::vector<int> enabled;
  };
  const std::vector<int> all = {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1,
                                kMenuTe1Alarms, kMenuTe1Tests,      kMenu56KStatus,        kMenuReadRegister};
  const Case cases[] = {
      {{0}, 0, 0, {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1}},
      {{0}, 0, RC_NO_FT1_ADAPTER, {}},
      {{1}, 0, 0, {kMenuTe1Alarms, kMenuTe1Tests, kMenuReadRegister}},
      {{2}, 0, 0, {kMenuTe1Alarms, kMenuTe1Tests, kMenuReadRegister}},
      {{3}, 0, 0, {kMenu56KStatus, kMenuReadRegister}},
      {{7}, 0, RC_NO_FT1_ADAPTER, {}},
  };
  for (const auto& c : cases) {
    replies[READ_FRONT_END_TYPE] = {c.type_rc, c.type};
    replies[SET_FT1_MONITOR_FLAGS] = {c.probe_rc, {}};
    configureAs(0);
    host.command(kMenuOpenDevice);
    for (int id : all) {
      bool expected = std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end();
      EXPECT_EQ(host.isMenuEnabled(id), expected) << int(c.type[0]) << " item " << id;
    }
    host.command(kMenuCloseDevice);
    for (int id : all) EXPECT_FALSE(host.isMenuEnabled(id)) << id;
  }
}

TEST_F(ApplyTest, ProbeSendsOneAndZeroOrJustOne) {
  configureAs(0);
  EXPECT_EQ(probes(), (std::vector<uint8_t>{1, 0}));
  driver.requests.clear();
  replies[SET_FT1_MONITOR_FLAGS] = {RC_NO_FT1_ADAPTER, {}};
  configureAs(0);
  EXPECT_EQ(probes(), (std::vector<uint8_t>{1}));
}

TEST_F(ApplyTest, FailedTypeReadKeepsAnEarlierUnitAndNeverUsesLeftovers) {
  replies[READ_FRONT_END_TYPE] = {0, {2}};
  configureAs(0);
  EXPECT_EQ(app->serviceUnit().frontEndType(), 2);
  // Never answered: the block still holds the previous reply's byte 2, but
  // the preset makes it read as a failure, and the kept type stays.
  replies[READ_FRONT_END_TYPE] = {0, {}, false};
  driver.requests.clear();
  configureAs(0);
  EXPECT_EQ(app->serviceUnit().frontEndType(), 2);
  EXPECT_EQ(sent(), (std::vector<uint8_t>{SET_CHDLC_CONFIGURATION, READ_FRONT_END_TYPE}));
}

TEST_F(ApplyTest, FailedTypeReadWithNoEarlierUnitProbesForFt1) {
  // The configuration's answer leaves return code 0 and a 1 in the block,
  // which an unanswered type read must not take as T1.
  replies[SET_CHDLC_CONFIGURATION] = {0, {1}};
  replies[READ_FRONT_END_TYPE] = {0, {}, false};
  configureAs(0);
  EXPECT_EQ(app->serviceUnit().frontEndType(), 0);
  EXPECT_EQ(sent(), (std::vector<uint8_t>{SET_CHDLC_CONFIGURATION, READ_FRONT_END_TYPE, SET_FT1_MONITOR_FLAGS,
                                          SET_FT1_MONITOR_FLAGS}));
  EXPECT_EQ(probes(), (std::vector<uint8_t>{1, 0}));
  EXPECT_TRUE(app->serviceUnit().ft1Present());

  replies[SET_FT1_MONITOR_FLAGS] = {RC_NO_FT1_ADAPTER, {}};
  configureAs(0);
  EXPECT_FALSE(app->serviceUnit().ft1Present()) << "a refused probe finds no unit";
}

}  // namespace
