#pragma once
// A monitor connected to a scripted plain serial card whose FT1 probe was
// accepted, so the four FT1 items of the utilities menu are available.

#include <algorithm>

#include "monitor/line/ft1_utilities.h"
#include "monitor/traffic/set_config_dialog.h"
#include "tests/monitor/core/core_fixture.h"

class Ft1Test : public CoreTest {
 protected:
  void SetUp() override {
    writeIni("[Polling]\nuse_system_timer=0\n");
    replies[READ_FRONT_END_TYPE] = {0, {0}};
    start();
    host.onModal("SETCONFIG", [](fake::FakeForm& f) {
      f.select(SetConfigDialog::kMediaType, 0);
      f.click(SetConfigDialog::kOk);
    });
    host.command(kMenuConfigureDevice);
    ASSERT_TRUE(app->serviceUnit().ft1Present());
    host.command(kMenuOpenDevice);
    ASSERT_TRUE(core->connection().connected());
    driver.requests.clear();
  }

  Ft1Utilities& ft1() { return app->ft1Utilities(); }

  // The data byte of every SET_FT1_MONITOR_FLAGS sent, in order.
  std::vector<uint8_t> flagBytes() const {
    std::vector<uint8_t> out;
    for (const auto& r : driver.requests)
      if (r.code == IOCTL_EXEC_CMD && r.in.size() > 16 && r.in[1] == SET_FT1_MONITOR_FLAGS) out.push_back(r.in[16]);
    return out;
  }
  size_t count(uint8_t command) const {
    auto c = driver.commands();
    return static_cast<size_t>(std::count(c.begin(), c.end(), command));
  }
  // The requests carrying one mailbox command, in order.
  std::vector<fake::Request> requestsOf(uint8_t command) const {
    std::vector<fake::Request> out;
    for (const auto& r : driver.requests)
      if (r.in.size() > 1 && r.in[1] == command) out.push_back(r);
    return out;
  }
  void fire(fake::FakeForm& form, int timer_id = 1, int times = 1) {
    for (int i = 0; i < times; ++i) host.fireTimer(form, timer_id);
  }
  void closeDevice() {
    host.command(kMenuCloseDevice);
    ASSERT_FALSE(core->connection().connected());
  }
};
