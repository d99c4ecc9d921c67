#pragma once
// The command line of talvcap: the extcap questions and captures asked by
// a packet analyser, and stand-alone captures to a file, a ring of files or
// standard output.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace talvcap {

enum class Mode {
  Help,
  Version,           // --extcap-version alone, or --version
  ListInterfaces,    // --extcap-interfaces
  ListLinkTypes,     // --extcap-dlts
  ListConfig,        // --extcap-config
  ValidateFilter,    // --extcap-capture-filter without --capture
  ExtcapCapture,     // --capture --fifo PATH
  Capture,           // -i DEV
};

struct CaptureOptions {
  Mode mode = Mode::Help;
  std::string device;
  std::string output;          // a file, a FIFO, or "-" for standard output
  std::string filter;
  uint64_t max_frames = 0;     // 0: until stopped
  uint32_t duration_s = 0;     // 0: until stopped
  uint64_t ring_file_kb = 0;   // 0: one file
  uint32_t ring_files = 0;     // 0: keep every file of the ring
  bool enable_comms = false;
  bool keep_check_bytes = false;
  bool quiet = false;
};

// Arguments after the program name. Empty arguments ask for help.
std::optional<CaptureOptions> ParseCaptureArguments(std::span<const std::string> args, std::string* error);

std::string Usage();

}  // namespace talvcap
