#include "tools/talvcap/ring_capture_writer.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace talvcap {
namespace {

constexpr uint64_t kFileHeaderBytes = 24;
constexpr uint64_t kRecordHeaderBytes = 16;

}  // namespace

RingCaptureWriter::RingCaptureWriter(std::unique_ptr<capture::CaptureWriter> file_writer, uint64_t max_file_bytes,
                                     uint32_t files)
    : file_(std::move(file_writer)), max_file_bytes_(max_file_bytes), files_(files) {}

std::string RingCaptureWriter::FileName(const std::string& path, uint32_t number) {
  const std::filesystem::path p(path);
  char digits[16];
  std::snprintf(digits, sizeof digits, "_%05u", number);
  std::filesystem::path name = p.parent_path() / (p.stem().string() + digits + p.extension().string());
  return name.string();
}

capture::WriteStatus RingCaptureWriter::open(const std::string& path) {
  path_ = path;
  number_ = 0;
  kept_.clear();
  return openNext();
}

capture::WriteStatus RingCaptureWriter::openNext() {
  file_->close();
  const std::string name = FileName(path_, ++number_);
  const capture::WriteStatus status = file_->open(name);
  if (status != capture::WriteStatus::Written) return status;
  kept_.push_back(name);
  if (files_ != 0 && kept_.size() > files_) {
    std::error_code ignored;  // a file removed by hand is no failure of the capture
    std::filesystem::remove(kept_.front(), ignored);
    kept_.pop_front();
  }
  file_bytes_ = kFileHeaderBytes;
  file_records_ = 0;
  return status;
}

capture::WriteStatus RingCaptureWriter::write(std::chrono::system_clock::time_point time,
                                              std::span<const uint8_t> bytes) {
  const uint64_t record = kRecordHeaderBytes + bytes.size();
  // A frame larger than a whole file still gets a file of its own.
  if (file_records_ > 0 && file_bytes_ + record > max_file_bytes_) {
    if (capture::WriteStatus s = file_->flush(); s != capture::WriteStatus::Written) return s;
    if (capture::WriteStatus s = openNext(); s != capture::WriteStatus::Written) return s;
  }
  const capture::WriteStatus status = file_->write(time, bytes);
  if (status == capture::WriteStatus::Written) {
    file_bytes_ += record;
    ++file_records_;
  }
  return status;
}

}  // namespace talvcap
