// line_peer DEVICE: what a line monitor does while it runs, for the
// end-to-end test: configures the card, enables communications and takes
// every received frame, so generated load shows in the card's statistics.
// Runs until it is terminated.

#include <cstdio>
#include <memory>

#include "card/chdlc.h"
#include "card/device.h"
#include "driver_if/default_driver.h"
#include "driver_if/mailbox.h"
#include "driver_if/requests.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: line_peer DEVICE\n", stderr);
    return 2;
  }
  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  uint32_t error = 0;
  auto control = card::Device::Open(*driver, argv[1], &error);
  auto reader = card::Device::Open(*driver, argv[1], &error);
  if (!control || !reader) {
    std::fprintf(stderr, "line_peer: cannot open %s (error %u)\n", argv[1], error);
    return 1;
  }
  if (card::SetChdlcConfiguration(control->exec(), StreamingConfig{}) != RC_OK ||
      card::EnableCommunications(control->exec()) != RC_OK) {
    std::fprintf(stderr, "line_peer: %s does not take the line up\n", argv[1]);
    return 1;
  }
  std::puts("line_peer: line up");
  std::fflush(stdout);
  ReceivedFrame frame;
  while (ReceiveFrame(reader->handle(), frame)) {
  }
  return 0;
}
