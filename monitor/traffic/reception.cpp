#include "monitor/traffic/reception.h"

#include <algorithm>
#include <utility>

#include "driver_if/device_names.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"
#include "monitor/traffic/frame_format.h"

void ReceptionMailbox::startCapture(std::shared_ptr<capture::CaptureQueue> queue) {
  std::lock_guard lock(mutex_);
  capture_ = std::move(queue);
  capturing_.store(capture_ != nullptr, std::memory_order_relaxed);
}

void ReceptionMailbox::stopCapture() {
  std::lock_guard lock(mutex_);
  capturing_.store(false, std::memory_order_relaxed);
  capture_.reset();
}

void ReceptionMailbox::openFailed() {
  std::lock_guard lock(mutex_);
  pending_.open_failed = true;
}

void ReceptionMailbox::frame(const FrameSummary& summary, const uint8_t* data, size_t dump_length,
                             bool shown, std::optional<uint32_t> counter, const CapturedFrame* capture) {
  std::lock_guard lock(mutex_);
  // Under the lock, so a frame is in the capture that was running when it
  // was counted. The queue never waits for its writer.
  if (capture != nullptr && capture_ != nullptr) capture_->push(capture->received, capture->bytes);
  if (shown) {
    ++pending_.lines_added;
    pending_.lines.push_back(summary);
    if (pending_.lines.size() > kReceiveListLines) pending_.lines.pop_front();
    // Kept storage: a flood of frames costs no allocation per frame.
    if (!pending_.dump) pending_.dump.emplace();
    pending_.dump->assign(data, data + dump_length);
  }
  if (counter) pending_.counter = counter;
}

ReceptionBatch ReceptionMailbox::take() {
  std::lock_guard lock(mutex_);
  ReceptionBatch batch = std::move(pending_);
  pending_ = ReceptionBatch{};
  return batch;
}

ReceptionThread::ReceptionThread(CardDriver& driver, std::string device_name,
                                 std::shared_ptr<ReceptionMailbox> mailbox)
    : driver_(driver), device_name_(std::move(device_name)), mailbox_(std::move(mailbox)) {
  thread_ = std::thread([this] { run(); });
}

ReceptionThread::~ReceptionThread() {
  cancel();
  if (thread_.joinable()) thread_.join();
}

void ReceptionThread::run() {
  std::unique_ptr<DeviceHandle> handle;
  uint32_t error = 0;
  if (IsCardDeviceName(device_name_)) handle = driver_.open(device_name_, &error);
  {
    std::lock_guard lock(mutex_);
    handle_ = cancelled_ ? nullptr : handle.get();
  }
  if (handle == nullptr || handle_ == nullptr) {
    if (handle == nullptr) mailbox_->openFailed();
  } else {
    auto frame = std::make_unique<ReceivedFrame>();
    for (;;) {
      // A reply too short to hold a header must not repeat the last frame.
      frame->setValid(0);
      frame->setLength(0);
      if (!ReceiveFrame(handle.get(), *frame)) break;
      if (frame->valid() != 1) continue;
      const uint32_t n = counter_.fetch_add(1, std::memory_order_relaxed) + 1;
      const bool shown = mailbox_->display.load(std::memory_order_relaxed);
      const bool counted = mailbox_->count.load(std::memory_order_relaxed);
      const bool captured = mailbox_->capturing();
      if (!shown && !counted && !captured) continue;
      const size_t length = std::min<size_t>(frame->length(), ReceivedFrame::kMaxData);
      // Frames of 0 or 1 bytes have no data before the check bytes: they are
      // shown and captured empty, never with a wrapped length, and still
      // captured so the file holds one record per frame counted.
      const size_t data_length = length >= 2 ? length - 2 : 0;
      CapturedFrame capture;
      if (captured) capture = {frame->data().first(data_length), std::chrono::system_clock::now()};
      FrameSummary summary;
      if (shown) {
        summary.bits = frame->bits();
        summary.length = frame->length();
        summary.time_stamp = frame->timeStamp();
        summary.count = static_cast<uint8_t>(std::min(data_length, summary.first.size()));
        std::copy_n(frame->data().begin(), summary.count, summary.first.begin());
      }
      mailbox_->frame(summary, frame->data().data(), std::min(length, kMaxDumpBytes), shown,
                      counted ? std::optional<uint32_t>(n) : std::nullopt, captured ? &capture : nullptr);
    }
  }
  {
    std::lock_guard lock(mutex_);
    handle_ = nullptr;
  }
  handle.reset();
  std::lock_guard lock(mutex_);
  ended_ = true;
  ended_cv_.notify_all();
}

bool ReceptionThread::waitForEnd(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return ended_cv_.wait_for(lock, timeout, [this] { return ended_; });
}

void ReceptionThread::cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  if (handle_ != nullptr) handle_->cancel();
}

bool ReceptionThread::ended() {
  std::lock_guard lock(mutex_);
  return ended_;
}
