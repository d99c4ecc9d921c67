#include "monitor/traffic/capture_file.h"

#include <optional>

using capture::CaptureQueue;
using capture::WriteStatus;

namespace {

// Opening never waits for a FIFO's reader; this bounds a slow file system.
constexpr std::chrono::seconds kOpenWait{5};

std::string NotWritten(uint64_t frames) {
  return std::to_string(frames) + (frames == 1 ? " frame" : " frames") + " not written";
}

}  // namespace

bool CaptureFile::start(ui::Form& owner) {
  const std::optional<std::string> path =
      prompter_.askSavePath({"Capture to file", "Capture files (*.pcap);;All files (*)", &owner});
  if (!path) return false;
  auto queue = std::make_shared<CaptureQueue>(capture::MakeCaptureWriter(), *path);
  if (queue->waitOpened(kOpenWait) == CaptureQueue::State::Failed) {
    const bool cannot_open = queue->failure() == WriteStatus::CannotOpen;
    report((cannot_open ? "Can not open the file " : "Can not write the file ") + *path + "\n", owner);
    return false;
  }
  queue_ = std::move(queue);
  notify();
  return true;
}

void CaptureFile::stop(ui::Form& owner) {
  if (queue_ == nullptr) return;
  const std::shared_ptr<CaptureQueue> queue = std::move(queue_);
  notify();
  if (!queue->finish(kFinishWait)) {
    if (queue->state() == CaptureQueue::State::Failed) reportFailure(queue->path(), queue->failure(), owner);
    else report("Can not write the file " + queue->path() + "\nThe reader took no more frames.", owner);
    return;
  }
  if (queue->dropped() > 0)
    report("Capture to " + queue->path() + ": " + NotWritten(queue->dropped()) + " (reader too slow).", owner);
}

bool CaptureFile::stoppedByFailure(ui::Form& owner) {
  if (queue_ == nullptr || queue_->state() != CaptureQueue::State::Failed) return false;
  const std::shared_ptr<CaptureQueue> queue = std::move(queue_);
  notify();
  reportFailure(queue->path(), queue->failure(), owner);
  return true;
}

std::optional<CaptureProgress> CaptureFile::progress() const {
  if (queue_ == nullptr) return std::nullopt;
  return CaptureProgress{queue_->path(), queue_->written(), queue_->writtenBytes(), queue_->dropped()};
}

std::string CaptureFile::status() const {
  if (queue_ == nullptr) return "";
  if (queue_->state() == CaptureQueue::State::WaitingForReader) return "Capture: waiting for a reader";
  if (queue_->dropped() > 0) return "Capture: " + NotWritten(queue_->dropped()) + " (reader too slow)";
  return "";
}

void CaptureFile::reportFailure(const std::string& path, WriteStatus failure, ui::Form& owner) {
  if (failure == WriteStatus::ReaderGone)
    report("The reader of " + path + " has gone away.\nThe capture has stopped.", owner);
  else if (failure == WriteStatus::NoReader)
    report("No reader opened " + path + ".\nThe capture has stopped.", owner);
  else
    report("Can not write the file " + path + "\nThe capture has stopped.", owner);
}

void CaptureFile::report(const std::string& text, ui::Form& owner) {
  prompter_.show({text, "Capture File Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::Form, &owner});
}
