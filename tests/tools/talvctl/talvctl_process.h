#pragma once
// talvctl run as a child process against a talvcard socket directory, its
// stdout and stderr kept apart.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ctltest {

struct CtlRun {
  int exit_code = -1;  // -1: killed by a signal, or still running after 20 s
  std::string out;
  std::string err;
};

// Runs talvctl with TALVSTRM_DIR=directory and no stdin, to its end.
CtlRun RunTalvctl(const std::string& directory, const std::vector<std::string>& args);

// A talvctl left running, for recv and watch.
class TalvctlProcess {
 public:
  TalvctlProcess(const std::string& directory, const std::vector<std::string>& args);
  ~TalvctlProcess();  // kills it if it still runs

  // Reads stdout until it holds `text` (true) or 10 s passed (false).
  bool awaitOutput(const std::string& text);
  void signal(int number);
  // Reads the rest and waits for the exit.
  CtlRun finish();

 private:
  pid_t pid_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
  CtlRun run_;
};

}  // namespace ctltest
