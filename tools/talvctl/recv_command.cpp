// recv: frames as they arrive, until --count, --timeout or Ctrl+C. The line
// is enabled only when it was off, and then disabled again at the end.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "driver_if/requests.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/communications.h"
#include "tools/talvctl/frame_bytes.h"
#include "tools/talvctl/interruption.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

namespace {

// The card ends every frame with two check bytes, not part of the data.
constexpr size_t kTrailerBytes = 2;

struct Reception {
  uint32_t frames = 0;
  bool failed = false;  // the driver ended reception, not talvctl
};

Reception Receive(Session& s, DeviceHandle& handle, const RecvOptions& options, nlohmann::json& frames) {
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (options.timeout_s)
    deadline = std::chrono::steady_clock::now() +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(*options.timeout_s));
  CancelWhenDue canceller(handle, deadline);
  auto frame = std::make_unique<ReceivedFrame>();
  Reception r;
  while (!options.count || r.frames < *options.count) {
    if (!ReceiveFrame(&handle, *frame)) {
      r.failed = !Interrupted() && !(deadline && std::chrono::steady_clock::now() >= *deadline);
      break;
    }
    if (frame->valid() != 1) continue;
    ++r.frames;
    const size_t length = std::min<size_t>(frame->length(), ReceivedFrame::kMaxData);
    const size_t data = length >= kTrailerBytes ? length - kTrailerBytes : 0;
    const uint8_t* bytes = frame->data().data();
    if (s.json) {
      frames.push_back({{"bits", frame->bits()},
                        {"time_stamp", frame->timeStamp()},
                        {"length", data},
                        {"data", HexBytes(bytes, data)},
                        {"trailer", HexBytes(bytes + data, length - data)}});
    } else {
      s.out << "bits=" << Hex(frame->bits(), 2) << " time=" << frame->timeStamp() << " length=" << data << ' '
            << HexBytes(bytes, data) << '\n'
            << std::flush;
    }
  }
  return r;
}

}  // namespace

int RunRecv(Session& s, const std::string& name, const RecvOptions& options) {
  if (options.timeout_s && !(*options.timeout_s >= 0)) return s.usage("--timeout must not be negative");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  const card::Reply<card::LinkStatus> link = card::ReadLinkStatus(device->exec());
  if (!link.ok()) return s.refused(READ_CHDLC_LINK_STATUS, link.rc);
  const bool enabled_here = !link.value.active();
  if (enabled_here) {
    const uint8_t rc = card::EnableCommunications(device->exec());
    if (rc != RC_OK) return s.refused(ENABLE_CHDLC_COMMUNICATIONS, rc);
  } else {
    s.err << "talvctl recv: communications were already enabled on " << device->name()
          << "; frames are shared with any other program receiving on it\n";
  }

  nlohmann::json frames = nlohmann::json::array();
  Reception reception;
  uint32_t error = 0;
  if (std::unique_ptr<DeviceHandle> reader = s.driver.open(device->name(), &error)) {
    reception = Receive(s, *reader, options, frames);
  } else {
    status = s.fail(kExitNoDevice, "Unable to open device for reading! Error code " + std::to_string(error) + ".");
  }

  if (enabled_here) {
    const uint8_t rc = DisableCommunicationsPersistently(device->exec());
    if (rc != RC_OK && status == kExitOk) status = s.refused(DISABLE_CHDLC_COMMUNICATIONS, rc);
  }
  if (reception.failed && status == kExitOk)
    status = s.refused("the driver ended IOCTL_RECEIVE_FRAME (communications disabled elsewhere?)");
  if (s.json)
    s.out << nlohmann::json{{"device", device->name()}, {"frames", frames}, {"count", reception.frames}}.dump(2)
          << '\n';
  return status;
}

}  // namespace talvctl
