#pragma once
// A talvcard daemon run as a child process on a temporary directory.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace simtest {

// A fresh directory under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct RunResult {
  int exit_code = -1;
  std::string out;  // stdout and stderr together
};

// Runs talvcard with args to its end (at most 10 s).
RunResult RunTalvcard(const std::vector<std::string>& args);

class DaemonProcess {
 public:
  // Starts talvcard --dir DIR with extra args and waits for its serving line.
  explicit DaemonProcess(const std::string& directory, std::vector<std::string> extra = {});
  ~DaemonProcess();  // kills it if it still runs

  bool serving() const { return !serving_line_.empty(); }
  const std::string& servingLine() const { return serving_line_; }
  pid_t pid() const { return pid_; }

  // Sends the signal and waits for the exit; the exit code, or -1 when it
  // did not end within 10 s or died of a signal.
  int stop(int signal);

 private:
  pid_t pid_ = -1;
  std::string serving_line_;
};

}  // namespace simtest
