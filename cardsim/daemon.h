#pragma once
// Serves a Simulator's cards as AF_UNIX stream sockets <dir>/TALVSTRMn and
// its control channel as <dir>/talvcard.ctl. One thread per connection, so
// a request that waits on one connection never holds up another; requests
// on one connection are answered in order, each reply in one write; a
// reader takes its frames several to a reply. Frames a closing client says it never delivered go back
// to the card (see AnsweredFrames). The main loop accepts, watches
// every connection for its peer hanging up (which ends the session, so a
// request waiting inside the card is released), and closes the sockets of
// finished connections: it is the only place a connection socket is closed.

#include <poll.h>

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cardsim/control_commands.h"
#include "cardsim/simulator.h"
#include "cardsim/socket_dir.h"

namespace cardsim {

class Daemon {
 public:
  Daemon(Simulator& simulator, std::string directory,
         const ControlCommands& commands = ControlCommands::Standard());
  ~Daemon();  // removes the sockets
  Daemon(const Daemon&) = delete;
  Daemon& operator=(const Daemon&) = delete;

  // Checks the directory, takes its lock and starts listening.
  bool start(std::string* error);
  // Accepts and serves until stop(); then ends every connection and waits
  // for their threads.
  void run();
  // Async-signal-safe; run() returns soon after.
  void stop();

 private:
  struct Listener {
    int fd;
    Card* card;  // null for the control socket
    std::string path;
  };
  struct Connection {
    int fd = -1;
    Card* card = nullptr;
    std::unique_ptr<Session> session;
    std::thread thread;
    std::atomic<bool> finished{false};
    bool hung_up = false;  // main loop only
  };

  void accept(const Listener& listener);
  void serve(Connection& connection);
  void serveDevice(Connection& connection);
  void serveControl(Connection& connection);
  void dropConnectionsOf(const Card* card);
  void reapFinished();
  void endHungUpSessions(const std::vector<pollfd>& fds, size_t first);
  void closeAll();

  Simulator& simulator_;
  const std::string directory_;
  const ControlCommands& commands_;
  std::unique_ptr<DirectoryLock> lock_;
  std::vector<Listener> listeners_;
  int wake_[2] = {-1, -1};    // stop()
  int finished_[2] = {-1, -1};  // a connection thread has ended
  std::mutex connections_mutex_;
  std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace cardsim
