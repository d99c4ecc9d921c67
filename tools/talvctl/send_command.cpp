// send: one frame, or --count of them --interval apart.

#include <nlohmann/json.hpp>

#include "driver_if/requests.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/frame_bytes.h"
#include "tools/talvctl/interruption.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

int RunSend(Session& s, const std::string& name, const SendOptions& options) {
  std::vector<uint8_t> frame;
  if (options.hex) {
    auto parsed = ParseHexBytes(*options.hex);
    if (auto* error = std::get_if<std::string>(&parsed)) return s.usage(*error);
    frame = std::get<std::vector<uint8_t>>(parsed);
  } else if (options.text) {
    frame.assign(options.text->begin(), options.text->end());
  } else {
    return s.usage("give the frame with --hex or --text");
  }
  if (frame.size() > SendFrameBuffer::kMaxData)
    return s.usage("the frame has " + std::to_string(frame.size()) + " bytes; at most " +
                   std::to_string(SendFrameBuffer::kMaxData) + " fit");
  if (options.count == 0) return s.usage("--count must be at least 1");

  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  auto buffer = std::make_unique<SendFrameBuffer>();
  uint32_t sent = 0;
  while (sent < options.count && !Interrupted()) {
    if (sent > 0 && !SleepUnlessInterrupted(std::chrono::milliseconds(options.interval_ms))) break;
    // The driver writes its verdict over the buffer, so each frame is laid in anew.
    buffer->setResult(1);
    buffer->setLength(static_cast<uint16_t>(frame.size()));
    std::copy(frame.begin(), frame.end(), buffer->data().begin());
    const uint8_t result = SendFrame(device->handle(), *buffer) == 0 ? buffer->result() : 1;
    if (result != 0)
      return s.refused("IOCTL_SEND_FRAME returned result " + Hex(result, 2) + " on frame " +
                       std::to_string(sent + 1) + " of " + std::to_string(options.count) + " (" +
                       std::to_string(sent) + " sent)");
    ++sent;
  }
  if (s.json)
    s.out << nlohmann::json{{"device", device->name()},
                            {"frames_sent", sent},
                            {"length", frame.size()},
                            {"interrupted", sent < options.count}}
                 .dump(2)
          << '\n';
  else
    s.out << "Sent " << sent << (sent == 1 ? " frame" : " frames") << " of " << frame.size() << " bytes to "
          << device->name() << (sent < options.count ? " (interrupted)" : "") << '\n';
  return kExitOk;
}

}  // namespace talvctl
