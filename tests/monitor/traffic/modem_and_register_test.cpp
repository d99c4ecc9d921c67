#include <gtest/gtest.h>

#include "tests/monitor/core/core_fixture.h"

namespace {

class DialogsTest : public CoreTest {
 protected:
  void SetUp() override {
    writeIni("[Polling]\nuse_system_timer=0\n");
    start();
    openDevice();
    driver.requests.clear();
  }
  // Reads a register with the given text; returns the register numbers sent.
  std::vector<uint8_t> readRegister(const std::string& text, std::string* value) {
    host.onModal("READ_REGISTER", [&](fake::FakeForm& f) {
      f.type(1037, text);
      f.click(1038);
      *value = f.text(1036);
      f.click(2);
    });
    core->mainWindow().onMenuCommand(kMenuReadRegister);
    std::vector<uint8_t> regs;
    for (const auto& r : driver.requests)
      if (r.code == IOCTL_EXEC_CMD_2K && r.in[1] == READ_FRONT_END_REGISTER) regs.push_back(r.in[16]);
    driver.requests.clear();
    return regs;
  }
};

TEST_F(DialogsTest, ModemStatusSendsTheSignalByte) {
  const std::pair<std::vector<int>, uint8_t> cases[] = {{{200, 201}, 3}, {{}, 0}, {{200}, 1}, {{201}, 2}};
  for (const auto& [clicks, byte] : cases) {
    host.onModal("SETMODEM", [&](fake::FakeForm& f) {
      EXPECT_FALSE(f.isChecked(200));
      EXPECT_FALSE(f.isChecked(201));
      for (int id : clicks) f.click(id);
      f.click(1);
    });
    host.command(kMenuSetModemStatus);
    ASSERT_EQ(driver.requests.size(), 1u);
    EXPECT_EQ(driver.requests[0].in[1], SET_MODEM_STATUS);
    EXPECT_EQ(le::get_u16(driver.requests[0].in, 2), 1);
    EXPECT_EQ(driver.requests[0].in[16], byte);
    driver.requests.clear();
  }
  host.onModal("SETMODEM", [](fake::FakeForm& f) {
    f.closeBox();
    f.click(2);
  });
  host.command(kMenuSetModemStatus);
  EXPECT_TRUE(driver.requests.empty());
}

TEST_F(DialogsTest, RegisterReadParsesAndShowsTheValue) {
  replies[READ_FRONT_END_REGISTER] = {0, {5}};
  std::string value;
  EXPECT_EQ(readRegister("1F", &value), (std::vector<uint8_t>{0x1F}));
  EXPECT_EQ(value, "0x5");
  EXPECT_EQ(readRegister("1FF", &value), (std::vector<uint8_t>{0xFF}));
  EXPECT_EQ(readRegister("1FFF", &value), (std::vector<uint8_t>{0xFF}));  // three characters read
  EXPECT_EQ(readRegister("G", &value), (std::vector<uint8_t>{0x10}));
  replies[READ_FRONT_END_REGISTER] = {0, {0xAB}};
  EXPECT_EQ(readRegister("z", &value), (std::vector<uint8_t>{35}));
  EXPECT_EQ(value, "0xAB");
}

TEST_F(DialogsTest, RegisterDialogClosesByItsCloseBoxLikeClose) {
  bool ended = false;
  host.onModal("READ_REGISTER", [&](fake::FakeForm& f) {
    f.closeBox();
    ended = f.ended();
    if (!ended) f.click(2);
  });
  core->mainWindow().onMenuCommand(kMenuReadRegister);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(driver.requests.empty());
}

TEST_F(DialogsTest, RegisterTextThatIsNotLettersAndDigitsDoesNothing) {
  for (const char* text : {"", "1 F", "1-", "\xC3\xA9", "#"}) {
    std::string value = "unchanged";
    host.onModal("READ_REGISTER", [&](fake::FakeForm& f) {
      f.setText(1036, "unchanged");
      f.type(1037, text);
      f.click(1038);
      value = f.text(1036);
      f.click(2);
    });
    core->mainWindow().onMenuCommand(kMenuReadRegister);
    EXPECT_TRUE(driver.requests.empty()) << text;
    EXPECT_EQ(value, "unchanged");
  }
}

TEST_F(DialogsTest, FailedRegisterReadShowsQuestionMark) {
  replies[READ_FRONT_END_REGISTER] = {0x01, {7}};
  std::string value;
  readRegister("1", &value);
  EXPECT_EQ(value, "?");
  replies[READ_FRONT_END_REGISTER] = {0, {}, false};
  core->exec().block().setReturnCode(0);
  readRegister("1", &value);
  EXPECT_EQ(value, "?");
}

}  // namespace
