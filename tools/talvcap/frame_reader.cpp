#include "tools/talvcap/frame_reader.h"

#include <algorithm>
#include <chrono>

#include "card/capture/bpf_filter.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"

namespace talvcap {
namespace {

constexpr size_t kCheckBytes = 2;

}  // namespace

FrameReader::FrameReader(std::unique_ptr<DeviceHandle> handle, ReaderSettings settings,
                         const capture::BpfFilter* filter, capture::CaptureQueue& queue)
    : handle_(std::move(handle)), settings_(settings), filter_(filter), queue_(queue) {
  thread_ = std::thread([this] { run(); });
}

FrameReader::~FrameReader() {
  stop();
  join();
}

void FrameReader::stop() {
  stopping_ = true;
  handle_->cancel();
}

void FrameReader::join() {
  if (thread_.joinable()) thread_.join();
}

void FrameReader::run() {
  auto frame = std::make_unique<ReceivedFrame>();
  while (!stopping_) {
    // A reply too short to hold a header must not repeat the last frame.
    frame->setValid(0);
    frame->setLength(0);
    if (!ReceiveFrame(handle_.get(), *frame)) {
      if (!stopping_) receive_failed_ = true;
      break;
    }
    if (frame->valid() != 1) continue;
    const auto now = std::chrono::system_clock::now();
    received_.fetch_add(1, std::memory_order_relaxed);
    size_t length = std::min<size_t>(frame->length(), ReceivedFrame::kMaxData);
    // Frames shorter than their check bytes are kept empty, never wrapped.
    if (!settings_.keep_check_bytes) length = length >= kCheckBytes ? length - kCheckBytes : 0;
    const std::span<const uint8_t> bytes = frame->data().first(length);
    if (filter_ != nullptr && !filter_->matches(bytes)) continue;
    if (!queue_.push(now, bytes)) continue;
    const uint64_t queued = queued_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (settings_.max_frames != 0 && queued >= settings_.max_frames) {
      limit_reached_ = true;
      break;
    }
  }
  ended_ = true;
}

}  // namespace talvcap
