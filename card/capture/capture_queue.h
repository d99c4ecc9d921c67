#pragma once
// Feeds a CaptureWriter from a thread of its own, so that neither reception
// nor the user interface ever waits for a slow reader or for a FIFO to be
// opened. The queue holds a bounded number of bytes: a frame that does not
// fit is dropped and counted, never waited for.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "card/capture/capture_writer.h"

namespace capture {

class CaptureQueue {
 public:
  enum class State { Opening, WaitingForReader, Writing, Failed, Finished };
  static constexpr size_t kDefaultLimitBytes = 4 * 1024 * 1024;

  // Starts opening `path` at once, in the background.
  CaptureQueue(std::unique_ptr<CaptureWriter> writer, std::string path, size_t limit_bytes = kDefaultLimitBytes);
  // Abandons what is not written yet; a thread stuck on a stalled reader is
  // left to end on its own.
  ~CaptureQueue();
  CaptureQueue(const CaptureQueue&) = delete;
  CaptureQueue& operator=(const CaptureQueue&) = delete;

  // False when the frame was dropped: the queue is full, or the capture has
  // failed or is finishing.
  bool push(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes);
  // Waits at most `timeout` for the first attempt to open the target, which
  // never waits for a FIFO's reader; the state after it.
  State waitOpened(std::chrono::milliseconds timeout);
  // Takes no more frames, writes every one queued and closes the target.
  // Waits at most `timeout`; true when all is written and closed.
  bool finish(std::chrono::milliseconds timeout);

  const std::string& path() const { return path_; }
  State state() const;
  // Why the capture failed, once state() is Failed.
  WriteStatus failure() const;
  uint64_t written() const;
  uint64_t dropped() const;

 private:
  struct Shared;
  static void run(std::shared_ptr<Shared> shared);

  const std::string path_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace capture
