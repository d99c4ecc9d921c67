// The configurator's dialogs against the fake host.

#include "configurator/configurator_dialogs.h"

#include <gtest/gtest.h>

#include "configurator/dialog_templates.h"
#include "tests/configurator/card_script.h"
#include "tests/support/fake_host.h"

namespace {

using namespace configurator;
using namespace cfgtest;

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() {
    cards_.addCard(0, IsaCard(0x360, 0xD0000, 10));
    cards_.addCard(3, PciCard(0, 4, 0, 1));
  }
  CardScript cards_;
  fake::FakeHost host_;
};

TEST_F(MainDialogTest, ListIsFilledBeforeTheWindowShowsAndCloseEndsIt) {
  std::vector<std::string> lines;
  host_.onModal("102", [&](fake::FakeForm& f) {
    lines = f.lines(kDeviceList);
    EXPECT_EQ(f.title(), "Talvora Talvlink Configurator");
    f.click(kCloseButton);
  });
  EXPECT_EQ(RunConfigurator(host_, cards_), 0);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "TALVSTRM0\tIO_Port: 0x360   Memory: 0xD0000   IRQ: 0xA",
                       "TALVSTRM3\tBusNumber: 0   SlotNumber: 4   CPU: A   CommPort: SECONDARY"}));
  EXPECT_EQ(host_.pendingModalScripts(), 0u);
}

TEST_F(MainDialogTest, TitleBarCloseAndEscEndTheProgramToo) {
  host_.onModal("102", [](fake::FakeForm& f) { f.closeBox(); });
  RunConfigurator(host_, cards_);
  host_.onModal("102", [](fake::FakeForm& f) { f.handler().onCommand(kCancelCommand, ui::Notify::Clicked); });
  RunConfigurator(host_, cards_);
  EXPECT_EQ(host_.modalsRun(), (std::vector<std::string>{"102", "102"}));
}

TEST_F(MainDialogTest, AboutEntryOpensTheAboutBoxAndTheListStays) {
  host_.onModal("102", [&](fake::FakeForm& f) {
    f.handler().onCommand(kAboutCommand, ui::Notify::Clicked);
    EXPECT_EQ(f.listCount(kDeviceList), 2);
    EXPECT_FALSE(f.ended());
    f.click(kCloseButton);
  });
  host_.onModal("100", [](fake::FakeForm& f) {
    EXPECT_EQ(f.title(), "About Configurator");
    f.click(kOkButton);
  });
  RunConfigurator(host_, cards_);
  EXPECT_EQ(host_.modalsRun(), (std::vector<std::string>{"102", "100"}));
  EXPECT_EQ(cards_.driver.requests.size(), 2u) << "the list is filled once";
}

}  // namespace
