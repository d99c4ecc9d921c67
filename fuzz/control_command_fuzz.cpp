// The daemon's control channel over any text: each line run as `talvcard
// ctl` sends it, against the demo cards. A reply is one line, and an
// accepted command is never reported with an empty error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cardsim/card_description.h"
#include "cardsim/control_commands.h"
#include "cardsim/simulator.h"

namespace {

// The daemon ends a connection whose line runs longer.
constexpr size_t kMaxControlLine = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cardsim::Simulator simulator(cardsim::DemoCards());
  const auto& commands = cardsim::ControlCommands::Standard();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (line.size() > kMaxControlLine) break;
    cardsim::CtlReply reply = commands.run(simulator, line);
    if (!reply.ok && reply.text.empty()) std::abort();
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return 0;
}
