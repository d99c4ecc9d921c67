#include "monitor/traffic/capture_file.h"

#include <optional>

bool CaptureFile::start(ui::Form& owner) {
  const std::optional<std::string> path =
      prompter_.askSavePath({"Capture to file", "Capture files (*.pcap);;All files (*)", &owner});
  if (!path) return false;
  path_ = *path;
  const PcapWriter::Status status = writer_.open(path_);
  if (status == PcapWriter::Status::Written) return true;
  report((status == PcapWriter::Status::CannotOpen ? "Can not open the file " : "Can not write the file ") +
             path_ + "\n",
         owner);
  return false;
}

bool CaptureFile::write(std::span<const uint8_t> records) {
  return writer_.write(records) == PcapWriter::Status::Written;
}

void CaptureFile::reportWriteFailure(ui::Form& owner) {
  report("Can not write the file " + path_ + "\nThe capture has stopped.", owner);
}

void CaptureFile::report(const std::string& text, ui::Form& owner) {
  prompter_.show({text, "Capture File Error", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::Form, &owner});
}
