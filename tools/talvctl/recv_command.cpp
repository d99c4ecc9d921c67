// recv: frames as they arrive, until --count, --timeout or Ctrl+C. The line
// is enabled only when it was off, and then disabled again at the end.

#include <nlohmann/json.hpp>

#include "card/capture/capture_queue.h"
#include "card/chdlc.h"
#include "driver_if/requests.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/communications.h"
#include "tools/talvctl/frame_bytes.h"
#include "tools/talvctl/interruption.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

namespace {

using namespace std::chrono_literals;

// The card ends every frame with two check bytes, not part of the data.
constexpr size_t kTrailerBytes = 2;
// How long a capture may take to open, and to write out what is queued at the end.
constexpr auto kCaptureOpenWait = 1000ms;
constexpr auto kCaptureFinishWait = 5000ms;

struct Reception {
  uint32_t frames = 0;
  bool failed = false;  // the driver ended reception, not talvctl
};

// Frames go to the capture when there is one, else to stdout as text or JSON.
Reception Receive(Session& s, DeviceHandle& handle, const RecvOptions& options, capture::CaptureQueue* capture,
                  nlohmann::json& frames) {
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
    if (capture != nullptr) {
      capture->push(std::chrono::system_clock::now(), frame->data().first(data));
    } else if (s.json) {
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
  if (options.count == 0u) return s.usage("--count must be at least 1");
  if (options.capture_path && s.json) return s.usage("-w writes a capture file; it takes no --json");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  // Frames wait for a slow capture reader in a bounded queue of their own,
  // so Ctrl+C is never stuck behind a write.
  std::unique_ptr<capture::CaptureQueue> capture;
  if (options.capture_path) {
    capture = std::make_unique<capture::CaptureQueue>(capture::MakeCaptureWriter(), *options.capture_path);
    if (capture->waitOpened(kCaptureOpenWait) == capture::CaptureQueue::State::Failed)
      return s.refused("cannot open the capture file " + *options.capture_path);
  }

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
    reception = Receive(s, *reader, options, capture.get(), frames);
  } else {
    status = s.fail(kExitNoDevice, "Unable to open device for reading! Error code " + std::to_string(error) + ".");
  }

  if (enabled_here) {
    const uint8_t rc = DisableCommunicationsPersistently(device->exec());
    if (rc != RC_OK && status == kExitOk) status = s.refused(DISABLE_CHDLC_COMMUNICATIONS, rc);
  }
  if (capture) {
    const bool written = capture->finish(kCaptureFinishWait);
    if (capture->dropped() > 0)
      s.err << "talvctl recv: " << capture->dropped() << " frames not captured: the capture's reader fell behind\n";
    if (!written && status == kExitOk) status = s.refused("the capture to " + capture->path() + " failed");
  }
  if (reception.failed && status == kExitOk)
    status = s.refused("the driver ended IOCTL_RECEIVE_FRAME (communications disabled elsewhere?)");
  if (s.json)
    s.out << nlohmann::json{{"device", device->name()}, {"frames", frames}, {"count", reception.frames}}.dump(2)
          << '\n';
  return status;
}

}  // namespace talvctl
