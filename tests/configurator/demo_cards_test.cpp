// The report a user sees after starting talvcard with no arguments.

#include <gtest/gtest.h>

#include "configurator/hardware_report.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"

namespace {

TEST(DemoCardsTest, ReportShowsTheFourDemoCards) {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path());
  ASSERT_TRUE(daemon.serving());
  SocketCardDriver driver(dir.path());
  EXPECT_EQ(configurator::HardwareReport(driver),
            (std::vector<std::string>{
                "TALVSTRM0\tIO_Port: 0x360   Memory: 0xD0000   IRQ: 0xA",
                "TALVSTRM1\tBusNumber: 0   SlotNumber: 9   CPU: A   CommPort: PRIMARY",
                "TALVSTRM2\tBusNumber: 0   SlotNumber: 10   CPU: B   CommPort: SECONDARY",
                "TALVSTRM3\tBusNumber: 0   SlotNumber: 11   CPU: A   CommPort: PRIMARY"}));
}

}  // namespace
