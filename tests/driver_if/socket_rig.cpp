#include "tests/driver_if/socket_rig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "tests/cardsim/daemon_process.h"

namespace backendtest {

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

class SocketRig : public BackendRig {
 public:
  SocketRig() : daemon_(dir_.path()), driver_(dir_.path()) {
    std::string error;
    ctl_ = cardsim::CtlClient::Connect(dir_.path(), &error);
    EXPECT_TRUE(ctl_) << error;
  }

  CardDriver& driver() override { return driver_; }

  void leaveUnanswered(int card, uint8_t command, bool firmware_timeout) override {
    ctl(std::to_string(card) + " " + Hex(command) + (firmware_timeout ? " 7f" : " preset"),
        "noanswer");
  }
  void forceReturnCode(int card, uint8_t command, uint8_t return_code) override {
    ctl(std::to_string(card) + " " + Hex(command) + " " + Hex(return_code), "rc");
  }
  void refuseRequest(int card, uint32_t control_code) override {
    ctl(std::to_string(card) + " " + Hex(control_code), "refuse");
  }

 private:
  void ctl(const std::string& args, const std::string& command) {
    ASSERT_TRUE(ctl_);
    auto reply = ctl_->call(command + " " + args);
    EXPECT_TRUE(reply.ok) << command << " " << args << ": " << reply.text;
  }

  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  std::unique_ptr<cardsim::CtlClient> ctl_;
};

}  // namespace

std::unique_ptr<BackendRig> MakeSocketRig() { return std::make_unique<SocketRig>(); }

}  // namespace backendtest
