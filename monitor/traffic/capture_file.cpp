#include "monitor/traffic/capture_file.h"

#include <optional>

#include "driver_if/le.h"

namespace {

// Records as AppendPcapRecord lays them out, one after another.
uint64_t CountRecords(std::span<const uint8_t> records) {
  uint64_t count = 0;
  size_t at = 0;
  while (at + kPcapRecordHeaderSize <= records.size()) {
    at += kPcapRecordHeaderSize + le::get_u32(records, at + 8);
    ++count;
  }
  return count;
}

}  // namespace

bool CaptureFile::start(ui::Form& owner) {
  const std::optional<std::string> path =
      prompter_.askSavePath({"Capture to file", "Capture files (*.pcap);;All files (*)", &owner});
  if (!path) return false;
  path_ = *path;
  const PcapWriter::Status status = writer_.open(path_);
  if (status == PcapWriter::Status::Written) {
    progress_ = {path_, 0, kPcapHeaderSize, 0};
    notify();
    return true;
  }
  report((status == PcapWriter::Status::CannotOpen ? "Can not open the file " : "Can not write the file ") +
             path_ + "\n",
         owner);
  return false;
}

bool CaptureFile::write(std::span<const uint8_t> records) {
  const bool written = writer_.write(records) == PcapWriter::Status::Written;
  (written ? progress_.frames_written : progress_.frames_not_written) += CountRecords(records);
  if (written) progress_.bytes_written += records.size();
  notify();
  return written;
}

void CaptureFile::stop() {
  const bool was_open = writer_.isOpen();
  writer_.close();
  if (was_open) notify();
}

std::optional<CaptureProgress> CaptureFile::progress() const {
  if (!isOpen()) return std::nullopt;
  return progress_;
}

void CaptureFile::reportWriteFailure(ui::Form& owner) {
  report("Can not write the file " + path_ + "\nThe capture has stopped.", owner);
}

void CaptureFile::report(const std::string& text, ui::Form& owner) {
  prompter_.show({text, "Capture File Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::Form, &owner});
}
