#pragma once
// Client of a talvcard daemon's control channel, for tests and `talvcard ctl`.

#include <memory>
#include <string>
#include <string_view>

#include "cardsim/control_commands.h"
#include "driver_if/wire.h"

namespace cardsim {

class CtlClient {
 public:
  // Connects to <directory>/talvcard.ctl; null with an error on failure.
  static std::unique_ptr<CtlClient> Connect(const std::string& directory, std::string* error);
  ~CtlClient();
  CtlClient(const CtlClient&) = delete;
  CtlClient& operator=(const CtlClient&) = delete;

  // Sends one command line, e.g. "rc TALVSTRM0 0x26 0x05 2", and waits for
  // its reply. A lost connection reads as an error reply.
  CtlReply call(std::string_view line);

 private:
  explicit CtlClient(int fd) : fd_(fd), reader_(fd) {}
  int fd_;
  wire::Reader reader_;
};

}  // namespace cardsim
