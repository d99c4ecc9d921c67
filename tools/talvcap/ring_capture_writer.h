#pragma once
// A ring of capture files: a new file when the current one would grow past
// its size, and only the newest files kept. FILE.pcap becomes FILE_00001.pcap,
// FILE_00002.pcap and so on, so the files sort in capture order.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "card/capture/capture_writer.h"

namespace talvcap {

class RingCaptureWriter : public capture::CaptureWriter {
 public:
  // files 0: every file is kept.
  RingCaptureWriter(std::unique_ptr<capture::CaptureWriter> file_writer, uint64_t max_file_bytes, uint32_t files);

  capture::WriteStatus open(const std::string& path) override;
  capture::WriteStatus write(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes) override;
  capture::WriteStatus flush() override { return file_->flush(); }
  void close() override { file_->close(); }
  bool isOpen() const override { return file_->isOpen(); }

  static std::string FileName(const std::string& path, uint32_t number);

 private:
  capture::WriteStatus openNext();

  std::unique_ptr<capture::CaptureWriter> file_;
  const uint64_t max_file_bytes_;
  const uint32_t files_;
  std::string path_;
  uint32_t number_ = 0;
  uint64_t file_bytes_ = 0;
  uint64_t file_records_ = 0;
  std::deque<std::string> kept_;
};

}  // namespace talvcap
