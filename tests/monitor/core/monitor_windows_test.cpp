#include <gtest/gtest.h>

#include "tests/monitor/core/core_fixture.h"

class MonitorWindowsTest : public CoreTest {
 protected:
  void SetUp() override {
    writeIni("[Polling]\nuse_system_timer=0\n");
    start();
    openDevice();
  }
  static std::vector<uint8_t> U32s(std::initializer_list<std::pair<size_t, uint32_t>> values, size_t size) {
    std::vector<uint8_t> b(size);
    for (auto [off, v] : values) le::put_u32(b, off, v);
    return b;
  }
};

TEST_F(MonitorWindowsTest, LinkStatusShowsChangesOnly) {
  host.command(kMenuLinkStatus);
  auto& w = window("LSTAT");
  EXPECT_EQ(w.text(201), "?");
  replies[READ_CHDLC_LINK_STATUS] = {0, {1, 3, 0}};
  tick();
  EXPECT_EQ(w.text(201), "ACTIVE");
  EXPECT_EQ(w.text(202), "3");
  EXPECT_EQ(w.text(203), "ENABLED");
  // Byte 0 of 2 leaves the channel text; unchanged counts are not rewritten.
  w.setText(202, "untouched");
  replies[READ_CHDLC_LINK_STATUS] = {0, {2, 3, 5}};
  tick();
  EXPECT_EQ(w.text(201), "ACTIVE");
  EXPECT_EQ(w.text(202), "untouched");
  EXPECT_EQ(w.text(203), "DISABLED");
  replies[READ_CHDLC_LINK_STATUS] = {0x55, {0, 9, 0}};
  tick();
  EXPECT_EQ(w.text(201), "ACTIVE");
  replies[READ_CHDLC_LINK_STATUS] = {0, {0, 9, 0}};
  tick();
  EXPECT_EQ(w.text(201), "INACTIVE");
  EXPECT_EQ(w.text(202), "9");
}

TEST_F(MonitorWindowsTest, OperationalStatisticsShowsFull32BitCountersAndSkipsRepeats) {
  host.command(kMenuOperationalStatistics);
  auto& w = window("OPSTATS");
  EXPECT_EQ(w.text(202), "0");
  auto reply = U32s({{0, 7}, {4, 0x00010001}, {8, 1}, {12, 2}, {16, 3}, {32, 4}, {36, 0xFFFFFFFF},
                     {40, 6}, {44, 8}, {52, 9}}, 56);
  replies[READ_CHDLC_OPERATIONAL_STATS] = {0, reply};
  tick();
  EXPECT_EQ(w.text(201), "7");
  EXPECT_EQ(w.text(202), "65537");
  EXPECT_EQ(w.text(205), "1");
  EXPECT_EQ(w.text(206), "2");
  EXPECT_EQ(w.text(209), "3");
  EXPECT_EQ(w.text(203), "4");
  EXPECT_EQ(w.text(204), "4294967295");
  EXPECT_EQ(w.text(207), "6");
  EXPECT_EQ(w.text(208), "8");
  EXPECT_EQ(w.text(200), "9");
  w.setText(201, "untouched");
  tick();
  EXPECT_EQ(w.text(201), "untouched");
  // A failed read keeps what is shown.
  replies[READ_CHDLC_OPERATIONAL_STATS] = {0xAA, {}, false};
  tick();
  EXPECT_EQ(w.text(201), "untouched");
  // A reopened window redraws at its first tick even though nothing changed.
  replies[READ_CHDLC_OPERATIONAL_STATS] = {0, reply};
  w.click(399);
  host.runPosted();
  host.command(kMenuOperationalStatistics);
  tick();
  EXPECT_EQ(window("OPSTATS").text(201), "7");
}

TEST_F(MonitorWindowsTest, FlushButtonsSendTheirCommandOnce) {
  host.command(kMenuOperationalStatistics);
  host.command(kMenuCommErrorStatistics);
  driver.requests.clear();
  window("OPSTATS").click(550);
  window("COMES").click(550);
  EXPECT_EQ(sent(), (std::vector<uint8_t>{FLUSH_CHDLC_OPERATIONAL_STATS, FLUSH_COMMS_ERROR_STATS}));
}

TEST_F(MonitorWindowsTest, CommErrorsShowTheBlockWhateverTheAnswer) {
  host.command(kMenuCommErrorStatistics);
  auto& w = window("COMES");
  std::vector<uint8_t> errors(20);
  for (size_t i = 0; i < 10; ++i) le::put_u16(errors, i * 2, static_cast<uint16_t>(100 + i));
  le::put_u16(errors, 0, 0xFFFF);
  replies[READ_COMMS_ERROR_STATS] = {0, errors};
  replies[READ_GLOBAL_STATISTICS] = {0, {0xFF, 0xFF}};
  tick();
  EXPECT_EQ(w.text(200), "65535");
  EXPECT_EQ(w.text(201), "101");
  EXPECT_EQ(w.text(202), "102");
  EXPECT_EQ(w.text(203), "103");
  EXPECT_EQ(w.text(204), "106");
  EXPECT_EQ(w.text(207), "108");
  EXPECT_EQ(w.text(208), "109");
  EXPECT_EQ(w.text(111), "65535");
  replies[READ_COMMS_ERROR_STATS] = {0xAA, {}, false};
  replies[READ_GLOBAL_STATISTICS] = {0x01, {5, 0}};
  tick();
  EXPECT_EQ(w.text(200), "0");
  EXPECT_EQ(w.text(111), "65535");
}

TEST_F(MonitorWindowsTest, ModemStatusBits) {
  host.command(kMenuModemStatus);
  auto& w = window("MODEMS");
  EXPECT_EQ(w.text(200), "?");
  const std::pair<uint8_t, std::pair<const char*, const char*>> cases[] = {
      {0x28, {"High", "High"}}, {0x00, {"Low", "Low"}}, {0x08, {"High", "Low"}}, {0x20, {"Low", "High"}}};
  for (const auto& [status, texts] : cases) {
    replies[READ_MODEM_STATUS] = {0, {status}};
    tick();
    EXPECT_EQ(w.text(200), texts.first) << int(status);
    EXPECT_EQ(w.text(201), texts.second) << int(status);
  }
}

TEST_F(MonitorWindowsTest, PollingInfoShowsEachExchangeAndBlinks) {
  auto& w = window("POLLS");
  EXPECT_EQ(w.text(901), "TALVSTRM0");
  EXPECT_EQ(w.text(902), "Opened");
  EXPECT_EQ(w.text(900), "Read Code Version:");
  EXPECT_EQ(w.text(100), "0x00");
  EXPECT_EQ(w.text(903), "Success");
  bool before = w.isChecked(101);
  tick();
  EXPECT_NE(w.isChecked(101), before);
  w.minimize();
  tick();
  EXPECT_NE(w.isChecked(101), before);
  host.command(kMenuLinkStatus);
  replies[READ_CHDLC_LINK_STATUS] = {0x42, {}};
  tick();
  EXPECT_EQ(w.text(900), "Read Link Status:");
  EXPECT_EQ(w.text(100), "0x42");
  EXPECT_EQ(w.text(903), "0x42");
}

TEST_F(MonitorWindowsTest, EachWindowOpensOnceAndReopenRaises) {
  host.command(kMenuLinkStatus);
  auto& w = window("LSTAT");
  EXPECT_TRUE(host.isMenuChecked(kMenuLinkStatus));
  w.minimize();
  int raised = w.raisedCount();
  host.command(kMenuLinkStatus);
  EXPECT_FALSE(w.isMinimized());
  EXPECT_EQ(w.raisedCount(), raised + 1);
  host.command(kMenuOpenAll);
  size_t count = 0;
  for (auto* f : host.windows()) count += f->formTemplate().window_class == "TVMN_LINKS";
  EXPECT_EQ(count, 1u);
  EXPECT_NE(host.window("OPSTATS"), nullptr);
  EXPECT_NE(host.window("COMES"), nullptr);
  EXPECT_NE(host.window("MODEMS"), nullptr);
  EXPECT_EQ(host.windows().size(), 5u);
}

TEST_F(MonitorWindowsTest, CloseButtonAndCloseBoxUncheckThenDestroy) {
  host.command(kMenuLinkStatus);
  host.command(kMenuModemStatus);
  window("LSTAT").click(399);
  window("MODEMS").closeBox();
  EXPECT_FALSE(host.isMenuChecked(kMenuLinkStatus));
  EXPECT_FALSE(host.isMenuChecked(kMenuModemStatus));
  host.runPosted();
  EXPECT_EQ(host.window("LSTAT"), nullptr);
  EXPECT_EQ(host.window("MODEMS"), nullptr);
}

TEST_F(MonitorWindowsTest, ClosedPollingInfoShowsNothingFurther) {
  window("POLLS").click(399);
  host.runPosted();
  host.command(kMenuLinkStatus);
  tick();  // must not touch the destroyed window
  host.command(kMenuPollingInfo);
  EXPECT_EQ(window("POLLS").text(902), "Opened");
}

TEST_F(MonitorWindowsTest, MinimizeAllLeavesOtherWindowsAlone) {
  struct Idle : ui::FormHandler {
    void onInit(ui::Form&) override {}
  } idle;
  ui::FormTemplate other;
  other.name = "T1STATUS";
  other.title = "Talvora VR20/VR40 FT-1 Status Window";
  ui::Form* status = host.createWindow(other, idle, ui::WindowKind::MdiChild);
  ASSERT_NE(status, nullptr);
  host.command(kMenuOpenAll);
  host.command(kMenuMinimizeAll);
  int minimized = 0;
  for (auto* f : host.windows()) {
    if (f == status) continue;
    EXPECT_TRUE(f->isMinimized()) << f->formTemplate().name;
    ++minimized;
  }
  EXPECT_EQ(minimized, 5);
  EXPECT_FALSE(status->isMinimized());
  EXPECT_EQ(host.arrange_count, 1);
}

TEST_F(MonitorWindowsTest, LabelsAreTheBuddiesOfTheirValues) {
  host.command(kMenuOpenAll);
  for (auto* f : host.windows()) {
    for (const auto& c : f->formTemplate().controls) {
      if (c.kind != ui::ControlKind::Label) continue;
      EXPECT_NE(f->formTemplate().find(c.buddy), nullptr) << c.text;
    }
  }
}
