#pragma once
// The card layer's two roads to a simulated card: the simulator linked in,
// and a talvcard process behind its sockets. Both offer the control lines
// tests use to look at and move the card's state.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cardsim/control_commands.h"
#include "cardsim/ctl_client.h"
#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"

namespace cardtest {

class InProcessCards {
 public:
  InProcessCards() : simulator_(cardsim::DemoCards()), driver_(simulator_) {}
  CardDriver& driver() { return driver_; }
  cardsim::CtlReply ctl(const std::string& line) {
    return cardsim::ControlCommands::Standard().run(simulator_, line);
  }

 private:
  cardsim::Simulator simulator_;
  cardsim::SimDriver driver_;
};

class SocketCards {
 public:
  SocketCards() : daemon_(dir_.path()), driver_(dir_.path()) { EXPECT_TRUE(daemon_.serving()); }
  CardDriver& driver() { return driver_; }
  cardsim::CtlReply ctl(const std::string& line) {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir_.path(), &error);
    EXPECT_TRUE(client) << error;
    return client ? client->call(line) : cardsim::CtlReply{};
  }

 private:
  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
};

}  // namespace cardtest
