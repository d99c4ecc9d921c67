#pragma once
// Helpers for the frame path: a line made ready, frames sent and received
// the way the monitor sends and receives them.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "driver_if/card_driver.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "tests/cardsim/sim_fixture.h"

namespace simtest {

inline void ConfigureAndEnable(DeviceHandle& h, uint16_t max_frame_size = 2000) {
  std::array<uint8_t, StreamingConfig::kSize> image{};
  StreamingConfig config;
  config.max_frame_size = max_frame_size;
  config.Write(image);
  ASSERT_EQ(Execute(h, SET_CHDLC_CONFIGURATION, image).block.returnCode(), RC_OK);
  ASSERT_EQ(Execute(h, ENABLE_CHDLC_COMMUNICATIONS).block.returnCode(), RC_OK);
}

inline void Disable(DeviceHandle& h) {
  ASSERT_EQ(Execute(h, DISABLE_CHDLC_COMMUNICATIONS).block.returnCode(), RC_OK);
}

// The buffer's result byte, or 1 when the request itself failed.
inline uint8_t Send(DeviceHandle& h, const std::vector<uint8_t>& data, int length = -1) {
  auto buffer = std::make_unique<SendFrameBuffer>();
  buffer->setResult(1);
  buffer->setLength(static_cast<uint16_t>(length >= 0 ? length : static_cast<int>(data.size())));
  std::copy(data.begin(), data.end(), buffer->data().begin());
  return SendFrame(&h, *buffer) == 0 ? buffer->result() : 1;
}

struct Received {
  bool ok = false;
  std::unique_ptr<ReceivedFrame> frame = std::make_unique<ReceivedFrame>();

  std::vector<uint8_t> bytes() const {
    auto d = frame->data();
    return {d.begin(), d.begin() + std::min<size_t>(frame->length(), ReceivedFrame::kMaxData)};
  }
  // The generator's sequence number, in the first four data bytes.
  uint32_t sequence() const { return le::get_u32(frame->data(), 0); }
};

inline Received Receive(DeviceHandle& h) {
  Received r;
  r.ok = ReceiveFrame(&h, *r.frame);
  return r;
}

}  // namespace simtest
