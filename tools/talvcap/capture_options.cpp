#include "tools/talvcap/capture_options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <limits>
#include <utility>

namespace talvcap {
namespace {

// Reads "--name VALUE" or "--name=VALUE"; advances i past what it used.
class ArgumentReader {
 public:
  explicit ArgumentReader(std::span<const std::string> args) : args_(args) {}

  bool done() const { return i_ >= args_.size(); }
  // The option's name, without a "=VALUE" part.
  std::string next() {
    const std::string& word = args_[i_++];
    inline_value_.reset();
    const size_t eq = word.find('=');
    if (word.starts_with("--") && eq != std::string::npos) {
      inline_value_ = word.substr(eq + 1);
      return word.substr(0, eq);
    }
    return word;
  }
  bool hasInlineValue() const { return inline_value_.has_value(); }
  std::optional<std::string> value() {
    if (inline_value_) return std::exchange(inline_value_, std::nullopt);
    if (done()) return std::nullopt;
    return args_[i_++];
  }

 private:
  std::span<const std::string> args_;
  size_t i_ = 0;
  std::optional<std::string> inline_value_;
};

template <class Number>
bool ParseNumber(const std::string& text, Number* out) {
  Number n{};
  const char* end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || at != end) return false;
  *out = n;
  return true;
}

// "-a duration:SEC"
bool ParseAutostop(const std::string& text, CaptureOptions* o) {
  constexpr std::string_view kDuration = "duration:";
  return text.starts_with(kDuration) && ParseNumber(text.substr(kDuration.size()), &o->duration_s) &&
         o->duration_s > 0;
}

// "-b filesize:KB" and "-b files:N"
bool ParseRing(const std::string& text, CaptureOptions* o) {
  constexpr std::string_view kSize = "filesize:", kFiles = "files:";
  if (text.starts_with(kSize))
    return ParseNumber(text.substr(kSize.size()), &o->ring_file_kb) && o->ring_file_kb > 0 &&
           o->ring_file_kb <= std::numeric_limits<uint64_t>::max() / 1024;
  if (text.starts_with(kFiles)) return ParseNumber(text.substr(kFiles.size()), &o->ring_files) && o->ring_files > 0;
  return false;
}

std::string Check(const CaptureOptions& o) {
  if (o.mode == Mode::ListLinkTypes || o.mode == Mode::ListConfig || o.mode == Mode::ValidateFilter ||
      o.mode == Mode::ExtcapCapture || o.mode == Mode::Capture) {
    if (o.device.empty()) return "no device given";
  }
  if (o.mode == Mode::ExtcapCapture && o.output.empty()) return "--capture needs --fifo PATH";
  if (o.mode != Mode::Capture && (o.ring_file_kb != 0 || o.ring_files != 0 || o.duration_s != 0))
    return "-a and -b belong to a capture with -i";
  if (o.ring_files != 0 && o.ring_file_kb == 0) return "-b files:N needs -b filesize:KB";
  if (o.ring_file_kb != 0 && (o.output.empty() || o.output == "-"))
    return "-b needs a file named with -w";
  return {};
}

}  // namespace

std::optional<CaptureOptions> ParseCaptureArguments(std::span<const std::string> args, std::string* error) {
  CaptureOptions o;
  bool capture = false, interfaces = false, dlts = false, config = false, version = false, help = false;
  bool has_filter = false, extcap_device = false;
  ArgumentReader in(args);
  auto fail = [&](std::string why) {
    *error = std::move(why);
    return std::nullopt;
  };
  while (!in.done()) {
    const std::string name = in.next();
    // Options without a value.
    if (name == "--extcap-interfaces") interfaces = true;
    else if (name == "--extcap-dlts") dlts = true;
    else if (name == "--extcap-config") config = true;
    else if (name == "--capture") capture = true;
    else if (name == "--enable-comms") o.enable_comms = true;
    else if (name == "--check-bytes") o.keep_check_bytes = true;
    else if (name == "-q") o.quiet = true;
    else if (name == "-h" || name == "--help") help = true;
    else if (name == "--version") version = true;
    else if (name == "--debug") {}  // analysers may pass it; there is nothing more to tell
    else if (name == "--extcap-version") {
      // With a value it tells which analyser asks, and asks nothing itself.
      if (!in.hasInlineValue()) version = true;
      else in.value();
    } else {
      constexpr std::string_view kWithValue[] = {"--extcap-interface", "-i", "--fifo", "-w", "--extcap-capture-filter",
                                                 "-f", "--debug-file", "--count", "-c", "-a", "-b"};
      if (std::find(std::begin(kWithValue), std::end(kWithValue), name) == std::end(kWithValue))
        return fail("unknown option " + name);
      const std::optional<std::string> value = in.value();
      if (!value) return fail(name + " needs a value");
      if (name == "--extcap-interface" || name == "-i") o.device = *value, extcap_device = name[1] == '-';
      else if (name == "--fifo" || name == "-w") o.output = *value;
      else if (name == "--extcap-capture-filter" || name == "-f") o.filter = *value, has_filter = true;
      else if (name == "--debug-file") {}
      else if (name == "--count" || name == "-c") {
        if (!ParseNumber(*value, &o.max_frames)) return fail("bad frame count: " + *value);
      } else if (name == "-a") {
        if (!ParseAutostop(*value, &o)) return fail("bad -a (duration:SEC): " + *value);
      } else if (name == "-b") {
        if (!ParseRing(*value, &o)) return fail("bad -b (filesize:KB or files:N): " + *value);
      }
    }
  }

  if (help) o.mode = Mode::Help;
  else if (interfaces) o.mode = Mode::ListInterfaces;
  else if (dlts) o.mode = Mode::ListLinkTypes;
  else if (config) o.mode = Mode::ListConfig;
  else if (capture) o.mode = Mode::ExtcapCapture;
  else if (version) o.mode = Mode::Version;
  else if (extcap_device && has_filter) o.mode = Mode::ValidateFilter;
  else if (extcap_device) return fail("nothing asked of " + o.device);
  else if (!o.device.empty()) o.mode = Mode::Capture;
  else if (!args.empty()) return fail("no device given (-i DEV)");

  if (std::string why = Check(o); !why.empty()) return fail(why);
  return o;
}

std::string Usage() {
  return "Usage: talvcap -i DEV [-w FILE|-] [-c COUNT] [-a duration:SEC] [-b filesize:KB -b files:N]\n"
         "               [-f FILTER] [-q] [--enable-comms] [--check-bytes]\n"
         "       talvcap --extcap-interfaces | --extcap-version\n"
         "       talvcap --extcap-interface DEV --extcap-dlts | --extcap-config\n"
         "       talvcap --extcap-interface DEV --capture --fifo PATH [--extcap-capture-filter FILTER]\n"
         "\n"
         "Captures the frames a card receives as C_HDLC records in pcap format.\n"
         "  -i DEV            the device, TALVSTRM0 to TALVSTRM15\n"
         "  -w FILE|-         where to write; - is standard output (the default when it is not a terminal)\n"
         "  -c COUNT          stop after COUNT frames\n"
         "  -a duration:SEC   stop after SEC seconds\n"
         "  -b filesize:KB    start a new file when one reaches KB kilobytes\n"
         "  -b files:N        keep only the newest N files\n"
         "  -f FILTER         capture filter expression\n"
         "  -q                no progress count\n"
         "  --enable-comms    enable communications if they are off, and disable them again at the end\n"
         "  --check-bytes     keep the two check bytes at the end of each frame\n";
}

}  // namespace talvcap
