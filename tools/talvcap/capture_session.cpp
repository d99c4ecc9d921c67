#include "tools/talvcap/capture_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "card/capture/bpf_filter.h"
#include "card/capture/capture_queue.h"
#include "card/capture/capture_writer.h"
#include "card/chdlc.h"
#include "card/device.h"
#include "tools/talvcap/frame_reader.h"
#include "tools/talvcap/overrun_counter.h"
#include "tools/talvcap/ring_capture_writer.h"

namespace talvcap {
namespace {

using namespace std::chrono_literals;
using capture::CaptureQueue;
using capture::WriteStatus;

constexpr auto kPollInterval = 50ms;
constexpr auto kOpenCheck = 200ms;
// Well under the 65536 overruns a 16-bit counter holds, even at E1 rate.
constexpr auto kOverrunReadInterval = 1s;
// Long enough for a few megabytes to reach a slow disk or reader.
constexpr auto kFinishTimeout = 10s;

std::string Hex(uint8_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", code);
  return text;
}

std::string WriteError(const std::string& output, WriteStatus status) {
  const std::string where = output == capture::kStandardOutput ? "standard output" : output;
  return status == WriteStatus::CannotOpen ? "cannot open " + where : "cannot write to " + where;
}

// Communications on, and whether this program switched them on.
struct CommsReady {
  bool ok = false;
  bool enabled_here = false;
  std::string error;
};

CommsReady MakeCommsReady(card::Device& device, bool enable) {
  const card::Reply<card::LinkStatus> link = card::ReadLinkStatus(device.exec());
  if (!link.ok()) return {false, false, "cannot read the link status of " + device.name() + " (" + Hex(link.rc) + ")"};
  if (link.value.receiverEnabled()) return {true, false, {}};
  if (!enable)
    return {false, false, "communications are disabled on " + device.name() + "; enable them or use --enable-comms"};
  const uint8_t rc = card::EnableCommunications(device.exec());
  if (rc != RC_OK) return {false, false, "cannot enable communications on " + device.name() + " (" + Hex(rc) + ")"};
  return {true, true, {}};
}

std::unique_ptr<capture::CaptureWriter> MakeWriter(const CaptureOptions& o) {
  if (o.ring_file_kb == 0) return capture::MakeCaptureWriter();
  return std::make_unique<RingCaptureWriter>(capture::MakeCaptureWriter(), o.ring_file_kb * 1024, o.ring_files);
}

bool DurationOver(const CaptureOptions& o, std::chrono::steady_clock::time_point start) {
  return o.duration_s != 0 && std::chrono::steady_clock::now() - start >= std::chrono::seconds(o.duration_s);
}

}  // namespace

CaptureResult RunCapture(CardDriver& driver, const CaptureOptions& o, const CaptureHooks& hooks) {
  CaptureResult result;
  capture::BpfFilter filter;
  if (!o.filter.empty()) {
    if (std::string why = filter.compile(o.filter); !why.empty()) {
      result.error = "bad capture filter \"" + o.filter + "\": " + why;
      return result;
    }
  }

  uint32_t error = 0;
  std::unique_ptr<card::Device> device = card::Device::Open(driver, o.device, &error);
  std::unique_ptr<DeviceHandle> reading = device ? driver.open(o.device, &error) : nullptr;
  if (reading == nullptr) {
    result.error = "cannot open " + o.device + " (error " + std::to_string(error) + ")";
    return result;
  }
  const CommsReady comms = MakeCommsReady(*device, o.enable_comms);
  if (!comms.ok) {
    result.error = comms.error;
    return result;
  }

  {
    CaptureQueue queue(MakeWriter(o), o.output);
    if (queue.waitOpened(kOpenCheck) == CaptureQueue::State::Failed) {
      result.error = WriteError(o.output, queue.failure());
    } else {
      result.started = true;
      FrameReader reader(std::move(reading), {o.keep_check_bytes, o.max_frames}, o.filter.empty() ? nullptr : &filter,
                         queue);
      OverrunCounter overruns;
      overruns.start(device->exec());
      const auto start = std::chrono::steady_clock::now();
      auto overruns_read = start;
      while (!(hooks.stop_requested && hooks.stop_requested()) && !reader.ended() &&
             queue.state() != CaptureQueue::State::Failed && !DurationOver(o, start)) {
        if (hooks.progress) hooks.progress(queue.written());
        std::this_thread::sleep_for(kPollInterval);
        if (std::chrono::steady_clock::now() - overruns_read >= kOverrunReadInterval) {
          overruns.update(device->exec());
          overruns_read = std::chrono::steady_clock::now();
        }
      }
      reader.stop();
      reader.join();
      overruns.update(device->exec());
      result.card_overruns = overruns.total();
      const bool finished = queue.finish(kFinishTimeout);
      result.captured = queue.written();
      result.dropped = queue.dropped();
      result.ok = true;
      if (queue.state() == CaptureQueue::State::Failed) {
        // A reader that goes away ends the capture; it is no failure.
        if (queue.failure() != WriteStatus::ReaderGone) {
          result.ok = false;
          result.error = WriteError(o.output, queue.failure());
        }
      } else if (!finished) {
        result.ok = false;
        result.error = "the last frames could not be written to " + o.output;
      } else if (reader.receiveFailed()) {
        result.ok = false;
        result.error = "receiving from " + o.device + " failed: communications ended";
      }
      // Frames queued but never written were lost, not captured.
      result.dropped += reader.queued() - std::min(reader.queued(), result.captured);
    }
  }

  if (comms.enabled_here) {
    const uint8_t rc = card::DisableCommunications(device->exec());
    if (rc != RC_OK && result.error.empty()) {
      result.ok = false;
      result.error = "cannot disable communications on " + o.device + " (" + Hex(rc) + ")";
    }
  }
  return result;
}

std::string CaptureSummary(const CaptureResult& result) {
  std::string text =
      std::to_string(result.captured) + " frames captured, " + std::to_string(result.dropped) + " dropped";
  if (result.card_overruns != 0)
    text += "\n" + std::to_string(result.card_overruns) + " frames lost at the card (its receive queue was full)";
  return text;
}

}  // namespace talvcap
