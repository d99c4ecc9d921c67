#pragma once
// The reception thread: reads every received frame on a handle of its own
// and leaves what is to be shown in a mailbox the user-interface thread
// empties. It never touches a window, so a window closing can never race it.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "card/capture/capture_queue.h"
#include "driver_if/card_driver.h"

inline constexpr size_t kReceiveListLines = 49;

struct FrameSummary {
  uint8_t bits = 0;
  uint16_t length = 0;
  uint16_t time_stamp = 0;
  uint8_t count = 0;  // bytes kept in first
  std::array<uint8_t, 15> first{};
};

// A frame as it goes to the capture file: without its check bytes.
struct CapturedFrame {
  std::span<const uint8_t> bytes;
  std::chrono::system_clock::time_point received;
};

// What the thread hands to the user-interface thread, taken in one go.
struct ReceptionBatch {
  bool open_failed = false;
  uint64_t lines_added = 0;             // may exceed the lines kept
  std::deque<FrameSummary> lines;       // the newest, at most 49
  std::optional<std::vector<uint8_t>> dump;  // bytes of the last frame shown, at most 4000
  std::optional<uint32_t> counter;      // the count to show
  bool empty() const { return !open_failed && lines_added == 0 && !dump && !counter; }
};

class ReceptionMailbox {
 public:
  // Read by the thread for every frame; set by the window's check boxes.
  std::atomic<bool> display{true};
  std::atomic<bool> count{true};

  // Frames go to the queue from the next frame on; those received before a
  // start never reach the new file.
  void startCapture(std::shared_ptr<capture::CaptureQueue> queue);
  // No frame goes to the queue after this returns.
  void stopCapture();
  // Changed only under the lock; read without it, it is a hint for the
  // thread, which then stamps the frame, and the decision is taken again
  // under the lock, so a frame is in one capture or none.
  bool capturing() const { return capturing_.load(std::memory_order_relaxed); }

  void openFailed();
  // capture: given when capturing() said so.
  void frame(const FrameSummary& summary, const uint8_t* data, size_t dump_length, bool display,
             std::optional<uint32_t> counter, const CapturedFrame* capture = nullptr);
  ReceptionBatch take();

 private:
  std::mutex mutex_;
  ReceptionBatch pending_;
  std::shared_ptr<capture::CaptureQueue> capture_;
  std::atomic<bool> capturing_{false};
};

class ReceptionThread {
 public:
  ReceptionThread(CardDriver& driver, std::string device_name, std::shared_ptr<ReceptionMailbox> mailbox);
  ~ReceptionThread();  // joins

  // Waits at most that long for the thread to end; true when it has.
  bool waitForEnd(std::chrono::milliseconds timeout);
  // Fails the request in progress so the thread ends.
  void cancel();
  bool ended();
  uint32_t framesCounted() const { return counter_; }

 private:
  void run();

  CardDriver& driver_;
  const std::string device_name_;
  std::shared_ptr<ReceptionMailbox> mailbox_;
  std::mutex mutex_;
  std::condition_variable ended_cv_;
  bool ended_ = false;
  bool cancelled_ = false;
  DeviceHandle* handle_ = nullptr;  // while open, for cancel
  std::atomic<uint32_t> counter_{0};
  std::thread thread_;
};
