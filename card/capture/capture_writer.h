#pragma once
// Writes frames as capture records of link type C_HDLC (104), the format
// packet analysers read, to a file, a FIFO, a pipe or standard output.
//
//   auto writer = capture::MakeCaptureWriter();
//   if (writer->open(path) == capture::WriteStatus::Written)
//     writer->write(now, bytes), writer->flush(), ..., writer->close();
//
// A FIFO is opened without blocking: open() answers NoReader while nobody
// reads it, and may be called again until a reader comes. A reader that
// goes away makes write() or flush() answer ReaderGone (SIGPIPE must be
// ignored by the process). After any failure the writer is closed.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace capture {

inline constexpr uint32_t kLinkTypeChdlc = 104;
inline constexpr uint32_t kSnapLength = 65535;
// The path that means standard output.
inline constexpr const char* kStandardOutput = "-";

enum class WriteStatus { Written, NoReader, CannotOpen, CannotWrite, ReaderGone };

class CaptureWriter {
 public:
  virtual ~CaptureWriter() = default;

  // Creates or empties the target and writes the file header.
  virtual WriteStatus open(const std::string& path) = 0;
  // Adds one record stamped with `time`; frames are never cut. The record
  // may wait in a buffer until flush().
  virtual WriteStatus write(std::chrono::system_clock::time_point time, std::span<const uint8_t> bytes) = 0;
  // Hands every record written so far to the target.
  virtual WriteStatus flush() = 0;
  // Flushes what it can and closes; harmless when not open.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
};

// The libpcap writer where the build has libpcap, else the plain one.
std::unique_ptr<CaptureWriter> MakeCaptureWriter();

// Needs no library: the format written by hand.
std::unique_ptr<CaptureWriter> MakePlainCaptureWriter();

}  // namespace capture
