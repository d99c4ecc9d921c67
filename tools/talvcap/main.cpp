// talvcap: captures a card's received frames for packet analysers, as their
// external capture program or on its own.

#include <cstdio>
#include <string>
#include <vector>

#include "card/capture/bpf_filter.h"
#include "card/device_list.h"
#include "driver_if/default_driver.h"
#include "tools/talvcap/capture_options.h"
#include "tools/talvcap/capture_session.h"
#include "tools/talvcap/console.h"
#include "tools/talvcap/extcap_text.h"

namespace {

using talvcap::CaptureOptions;
using talvcap::Mode;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : kExitFailure;
}

void PrintError(const std::string& text) {
  std::fprintf(stderr, "talvcap: %s\n", text.c_str());
  std::fflush(stderr);
}

// An analyser validating a filter reads the error from standard output.
int ValidateFilter(const std::string& expression) {
  capture::BpfFilter filter;
  const std::string why = filter.compile(expression);
  return why.empty() ? 0 : Print(why + "\n");
}

int Capture(CaptureOptions options) {
  const bool extcap = options.mode == Mode::ExtcapCapture;
  if (options.output.empty()) {
    if (talvcap::IsTerminal(stdout)) {
      PrintError("will not write a capture to a terminal; give -w FILE or -w - with a pipe");
      return kExitUsage;
    }
    options.output.assign(1, '-');  // standard output
  }
  const bool show_progress = !extcap && !options.quiet && talvcap::IsTerminal(stderr);
  uint64_t shown = 0;
  talvcap::CaptureHooks hooks;
  hooks.stop_requested = talvcap::StopRequested;
  if (show_progress) {
    hooks.progress = [&shown](uint64_t written) {
      if (written == shown) return;
      shown = written;
      std::fprintf(stderr, "\rFrames: %llu ", static_cast<unsigned long long>(written));
    };
  }

  auto driver = MakeDefaultCardDriver();
  const talvcap::CaptureResult result = talvcap::RunCapture(*driver, options, hooks);
  if (show_progress && shown != 0) std::fputs("\n", stderr);
  if (!result.started) {
    PrintError(result.error);
    if (extcap) talvcap::ReleaseWaitingReader(options.output);
    return kExitFailure;
  }
  if (!result.error.empty()) PrintError(result.error);
  // Analysers take anything on standard error for an error of the capture.
  if (!extcap) std::fprintf(stderr, "%s\n", talvcap::CaptureSummary(result).c_str());
  return result.ok ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  talvcap::InstallStopHandlers();
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<CaptureOptions> options = talvcap::ParseCaptureArguments(args, &error);
  if (!options) {
    PrintError(error);
    std::fputs(talvcap::Usage().c_str(), stderr);
    return kExitUsage;
  }
  switch (options->mode) {
    case Mode::Help: return Print(talvcap::Usage());
    case Mode::Version: return Print(std::string("extcap {version=") + talvcap::kVersion + "}{help=talvcap --help}\n");
    case Mode::ListInterfaces: {
      auto driver = MakeDefaultCardDriver();
      return Print(talvcap::ExtcapInterfaces(card::ListDevices(*driver)));
    }
    case Mode::ListLinkTypes: return Print(talvcap::ExtcapLinkTypes());
    case Mode::ListConfig: return Print(talvcap::ExtcapConfig());
    case Mode::ValidateFilter: return ValidateFilter(options->filter);
    case Mode::ExtcapCapture:
    case Mode::Capture: return Capture(*options);
  }
  return kExitFailure;
}
