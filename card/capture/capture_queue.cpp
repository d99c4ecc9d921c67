#include "card/capture/capture_queue.h"

#include <cstring>
#include <utility>

namespace capture {
namespace {

// A queued frame: microseconds since the epoch, length, bytes.
constexpr size_t kEntryHeader = sizeof(int64_t) + sizeof(uint32_t);
constexpr auto kReaderRetry = std::chrono::milliseconds(50);

}  // namespace

struct CaptureQueue::Shared {
  std::unique_ptr<CaptureWriter> writer;
  std::string path;
  size_t limit = 0;

  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable changed;  // the state, or done
  std::vector<uint8_t> queued;
  bool finishing = false;
  bool abandoned = false;
  bool done = false;

  std::atomic<State> state{State::Opening};
  std::atomic<WriteStatus> failure{WriteStatus::Written};
  std::atomic<uint64_t> written{0};
  std::atomic<uint64_t> dropped{0};

  void fail(WriteStatus status) {
    failure = status;
    state = State::Failed;
  }
};

CaptureQueue::CaptureQueue(std::unique_ptr<CaptureWriter> writer, std::string path, size_t limit_bytes)
    : path_(std::move(path)), shared_(std::make_shared<Shared>()) {
  shared_->writer = std::move(writer);
  shared_->path = path_;
  shared_->limit = limit_bytes;
  thread_ = std::thread(run, shared_);
}

CaptureQueue::~CaptureQueue() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->finishing = true;
    shared_->abandoned = true;
    shared_->queued.clear();
  }
  shared_->wake.notify_all();
  bool done = false;
  {
    std::lock_guard lock(shared_->mutex);
    done = shared_->done;
  }
  if (done) thread_.join();
  else thread_.detach();
}

bool CaptureQueue::push(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes) {
  const int64_t micros = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
  const auto length = static_cast<uint32_t>(bytes.size());
  {
    std::lock_guard lock(shared_->mutex);
    const bool open = !shared_->finishing && shared_->state != State::Failed;
    if (!open || shared_->queued.size() + kEntryHeader + bytes.size() > shared_->limit) {
      ++shared_->dropped;
      return false;
    }
    std::vector<uint8_t>& q = shared_->queued;
    const size_t at = q.size();
    q.resize(at + kEntryHeader + bytes.size());
    std::memcpy(q.data() + at, &micros, sizeof micros);
    std::memcpy(q.data() + at + sizeof micros, &length, sizeof length);
    if (!bytes.empty()) std::memcpy(q.data() + at + kEntryHeader, bytes.data(), bytes.size());
  }
  shared_->wake.notify_one();
  return true;
}

bool CaptureQueue::finish(std::chrono::milliseconds timeout) {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->finishing = true;
  }
  shared_->wake.notify_all();
  std::unique_lock lock(shared_->mutex);
  if (!shared_->changed.wait_for(lock, timeout, [this] { return shared_->done; })) return false;
  return shared_->state == State::Finished;
}

CaptureQueue::State CaptureQueue::waitOpened(std::chrono::milliseconds timeout) {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_for(lock, timeout, [this] { return shared_->state != State::Opening; });
  return shared_->state;
}

CaptureQueue::State CaptureQueue::state() const { return shared_->state; }
WriteStatus CaptureQueue::failure() const { return shared_->failure; }
uint64_t CaptureQueue::written() const { return shared_->written; }
uint64_t CaptureQueue::dropped() const { return shared_->dropped; }

void CaptureQueue::run(std::shared_ptr<Shared> shared) {
  CaptureWriter& writer = *shared->writer;
  std::unique_lock lock(shared->mutex);
  for (;;) {
    if (shared->abandoned) break;
    lock.unlock();
    const WriteStatus opened = writer.open(shared->path);
    lock.lock();
    if (opened == WriteStatus::Written) break;
    if (opened != WriteStatus::NoReader || shared->finishing) {
      shared->fail(opened);
      break;
    }
    shared->state = State::WaitingForReader;
    shared->changed.notify_all();
    shared->wake.wait_for(lock, kReaderRetry, [&] { return shared->finishing; });
  }
  if (writer.isOpen()) shared->state = State::Writing;
  shared->changed.notify_all();

  std::vector<uint8_t> batch;
  while (shared->state == State::Writing) {
    shared->wake.wait(lock, [&] { return !shared->queued.empty() || shared->finishing; });
    if (shared->abandoned) break;
    if (shared->queued.empty()) {
      shared->state = State::Finished;
      break;
    }
    batch.clear();
    std::swap(batch, shared->queued);
    lock.unlock();
    WriteStatus status = WriteStatus::Written;
    uint64_t records = 0;
    for (size_t at = 0; at < batch.size() && status == WriteStatus::Written; ++records) {
      int64_t micros = 0;
      uint32_t length = 0;
      std::memcpy(&micros, batch.data() + at, sizeof micros);
      std::memcpy(&length, batch.data() + at + sizeof micros, sizeof length);
      const std::chrono::system_clock::time_point time{std::chrono::microseconds(micros)};
      status = writer.write(time, std::span(batch.data() + at + kEntryHeader, length));
      at += kEntryHeader + length;
    }
    // One flush per batch: a reader following the file sees it whole.
    if (status == WriteStatus::Written) status = writer.flush();
    lock.lock();
    if (status != WriteStatus::Written) {
      shared->fail(status);
      shared->queued.clear();
      break;
    }
    shared->written += records;
  }
  lock.unlock();
  writer.close();
  lock.lock();
  shared->done = true;
  shared->changed.notify_all();
}

}  // namespace capture
