#pragma once
// Frames written to a capture file in the classic libpcap format with the
// C-HDLC link type (104), so packet analysers read what went over the line.
// Records are built in memory, then written and flushed in one go, so a
// reader following the file sees every batch as soon as it is complete.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

inline constexpr size_t kPcapHeaderSize = 24;
inline constexpr size_t kPcapRecordHeaderSize = 16;
inline constexpr uint32_t kPcapSnapLength = 65535;
inline constexpr uint32_t kPcapLinkTypeChdlc = 104;

// The file's header: magic, version 2.4, no zone offset, snap length, link type.
std::vector<uint8_t> PcapHeader();

// Appends one record stamped with `time`: its header, then the bytes. The
// original length is that of the bytes; frames are never cut.
void AppendPcapRecord(std::vector<uint8_t>& records, std::chrono::system_clock::time_point time,
                      std::span<const uint8_t> bytes);

class PcapWriter {
 public:
  enum class Status { Written, CannotOpen, CannotWrite };

  PcapWriter() = default;
  PcapWriter(const PcapWriter&) = delete;
  PcapWriter& operator=(const PcapWriter&) = delete;
  ~PcapWriter() { close(); }

  // Creates or empties the file and writes its header. On failure nothing
  // is left open.
  Status open(const std::string& path);
  // Writes records made by AppendPcapRecord and flushes them. On failure
  // the file is closed; what reached it stays.
  Status write(std::span<const uint8_t> records);
  void close();
  bool isOpen() const { return file_ != nullptr; }

 private:
  std::FILE* file_ = nullptr;
};
