#include "monitor/traffic/pcap_writer.h"

#include "driver_if/le.h"

std::vector<uint8_t> PcapHeader() {
  std::vector<uint8_t> header(kPcapHeaderSize, 0);
  // Written little-endian on every host; readers tell the order by the magic.
  le::put_u32(header, 0, 0xA1B2C3D4);
  le::put_u16(header, 4, 2);
  le::put_u16(header, 6, 4);
  le::put_u32(header, 16, kPcapSnapLength);
  le::put_u32(header, 20, kPcapLinkTypeChdlc);
  return header;
}

void AppendPcapRecord(std::vector<uint8_t>& records, std::chrono::system_clock::time_point time,
                      std::span<const uint8_t> bytes) {
  using namespace std::chrono;
  const auto since_epoch = duration_cast<microseconds>(time.time_since_epoch());
  const auto seconds = duration_cast<std::chrono::seconds>(since_epoch);
  const size_t at = records.size();
  records.resize(at + kPcapRecordHeaderSize);
  std::span<uint8_t> header(records.data() + at, kPcapRecordHeaderSize);
  le::put_u32(header, 0, static_cast<uint32_t>(seconds.count()));
  le::put_u32(header, 4, static_cast<uint32_t>((since_epoch - seconds).count()));
  le::put_u32(header, 8, static_cast<uint32_t>(bytes.size()));
  le::put_u32(header, 12, static_cast<uint32_t>(bytes.size()));
  records.insert(records.end(), bytes.begin(), bytes.end());
}

PcapWriter::Status PcapWriter::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) return Status::CannotOpen;
  return write(PcapHeader());
}

PcapWriter::Status PcapWriter::write(std::span<const uint8_t> records) {
  if (file_ == nullptr) return Status::CannotWrite;
  const bool written = std::fwrite(records.data(), 1, records.size(), file_) == records.size();
  if (written && std::fflush(file_) == 0) return Status::Written;
  close();
  return Status::CannotWrite;
}

void PcapWriter::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}
