#pragma once
// The monitor over fakes for the windowing, talking to a simulated card:
// in process, or through the socket backend to a daemon in a thread.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/traffic/set_config_dialog.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

class Ft1SimTest : public ::testing::Test {
 protected:
  Ft1SimTest()
      : ini_(std::filesystem::temp_directory_path() /
             ("talvmon-ft1sim-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++) + ".ini")),
        settings_(ini_.string()),
        simulator(cardsim::DemoCards()),
        sim_driver(simulator) {
    std::ofstream(ini_) << "[Polling]\nuse_system_timer=0\n";
  }
  ~Ft1SimTest() override {
    app.reset();
    std::filesystem::remove(ini_);
  }

  // Starts the monitor, runs Configure Device on TALVSTRM0 as a plain
  // serial line and opens the device.
  void startConfigured(CardDriver& driver) {
    app = std::make_unique<MonitorApp>(CoreServices{host, prompter, driver, settings_});
    ASSERT_TRUE(app->Start());
    host.onModal("SETCONFIG", [](fake::FakeForm& f) {
      f.select(SetConfigDialog::kMediaType, 0);
      f.click(SetConfigDialog::kOk);
    });
    host.command(kMenuConfigureDevice);
    ASSERT_TRUE(app->serviceUnit().ft1Present());
    host.command(kMenuOpenDevice);
    ASSERT_TRUE(app->core().connection().connected());
  }
  void startConfigured() { startConfigured(sim_driver); }

  template <class F>
  void onUnit(F f) {
    simulator.card(0)->withState([&](cardsim::CardState& s) { f(s.ft1); });
  }
  fake::FakeForm& window(const char* name) {
    fake::FakeForm* f = host.window(name);
    EXPECT_NE(f, nullptr) << name;
    return *f;
  }
  void fire(fake::FakeForm& form, int times = 1) {
    for (int i = 0; i < times; ++i) host.fireTimer(form, 1);
  }

  std::filesystem::path ini_;
  ProfileFile settings_;
  cardsim::Simulator simulator;
  cardsim::SimDriver sim_driver;
  fake::FakeHost host;
  fake::FakePrompter prompter;
  std::unique_ptr<MonitorApp> app;

 private:
  static inline int counter_ = 0;
};
