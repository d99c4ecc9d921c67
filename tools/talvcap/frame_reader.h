#pragma once
// The reading thread: receives every frame on a handle of its own, keeps
// those the filter lets through and hands them to the capture queue, which
// writes them on its own thread. A queue that is full drops and counts;
// the card is never left waiting for a slow file or reader.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "card/capture/capture_queue.h"
#include "driver_if/card_driver.h"

namespace capture {
class BpfFilter;
}

namespace talvcap {

struct ReaderSettings {
  bool keep_check_bytes = false;
  uint64_t max_frames = 0;  // frames queued before the reader stops; 0: no limit
};

class FrameReader {
 public:
  // filter may be null; it and queue must outlive the reader.
  FrameReader(std::unique_ptr<DeviceHandle> handle, ReaderSettings settings, const capture::BpfFilter* filter,
              capture::CaptureQueue& queue);
  ~FrameReader();  // stops and joins
  FrameReader(const FrameReader&) = delete;
  FrameReader& operator=(const FrameReader&) = delete;

  // Fails the receive in progress; the thread ends soon after.
  void stop();
  void join();
  bool ended() const { return ended_.load(); }
  // The thread ended on its own because a receive failed (the line went down).
  bool receiveFailed() const { return receive_failed_.load(); }
  bool limitReached() const { return limit_reached_.load(); }
  uint64_t received() const { return received_.load(); }
  uint64_t queued() const { return queued_.load(); }

 private:
  void run();

  std::unique_ptr<DeviceHandle> handle_;
  const ReaderSettings settings_;
  const capture::BpfFilter* filter_;
  capture::CaptureQueue& queue_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> ended_{false};
  std::atomic<bool> receive_failed_{false};
  std::atomic<bool> limit_reached_{false};
  std::atomic<uint64_t> received_{0};
  std::atomic<uint64_t> queued_{0};
  std::thread thread_;
};

}  // namespace talvcap
