#pragma once
// A raw mailbox call that shows exactly which bytes came back, and a demo
// simulator to make it on.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "driver_if/command_block.h"
#include "driver_if/ioctl_codes.h"

namespace simtest {

struct Exchange {
  bool ok = false;
  uint32_t returned = 0;
  CommandBlock block;  // preset with 0xAA in return_code before sending
};

// Sends one mailbox command the way the monitor does: the block is both
// input and output, 16 + buffer_length bytes in.
inline Exchange Execute(DeviceHandle& handle, uint8_t command, std::span<const uint8_t> data = {},
                        uint32_t code = IOCTL_EXEC_CMD) {
  Exchange e;
  e.block.prepare(command, data);
  e.block.setReturnCode(0xAA);
  size_t in_len = code == IOCTL_EXEC_CMD ? kCommandHeaderSize + data.size() : kCommandBlockSize;
  size_t out_len = code == IOCTL_EXEC_CMD ? kExecCmdOutputSize : kCommandBlockSize;
  auto& b = e.block.bytes();
  e.ok = handle.control(code, b.data(), in_len, b.data(), out_len, &e.returned);
  return e;
}

class SimTest : public ::testing::Test {
 protected:
  SimTest() : simulator(cardsim::DemoCards()), driver(simulator) {}

  std::unique_ptr<DeviceHandle> open(const char* name = "TALVSTRM0") {
    uint32_t error = 0;
    auto handle = driver.open(name, &error);
    EXPECT_TRUE(handle) << name << " error " << error;
    return handle;
  }

  cardsim::Card& card(int index) { return *simulator.card(index); }

  cardsim::Simulator simulator;
  cardsim::SimDriver driver;
};

}  // namespace simtest
