#include "cardsim/daemon.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "cardsim/device_requests.h"
#include "cardsim/reply_batch.h"
#include "driver_if/wire.h"

namespace cardsim {

namespace {

constexpr size_t kMaxControlLine = 4096;

}  // namespace

Daemon::Daemon(Simulator& simulator, std::string directory, const ControlCommands& commands)
    : simulator_(simulator), directory_(std::move(directory)), commands_(commands) {}

Daemon::~Daemon() {
  closeAll();
  for (int index : simulator_.indices()) simulator_.card(index)->setDropObserver(nullptr);
  for (int fd : {wake_[0], wake_[1], finished_[0], finished_[1]})
    if (fd >= 0) ::close(fd);
}

bool Daemon::start(std::string* error) {
  if (!PrepareSocketDirectory(directory_, error)) return false;
  lock_ = DirectoryLock::Acquire(directory_, error);
  if (!lock_) return false;
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0 ||
      ::pipe2(finished_, O_CLOEXEC | O_NONBLOCK) != 0) {
    if (error != nullptr) *error = "cannot create a pipe";
    return false;
  }
  auto listen = [&](const std::string& name, Card* card) {
    std::string path = directory_ + "/" + name;
    int fd = ListenOn(path, error);
    if (fd < 0) return false;
    listeners_.push_back({fd, card, path});
    return true;
  };
  for (int index : simulator_.indices()) {
    Card* card = simulator_.card(index);
    if (!listen(CardDeviceName(index), card)) return false;
    card->setDropObserver([this, card] { dropConnectionsOf(card); });
  }
  return listen(std::string(kControlSocketName), nullptr);
}

void Daemon::stop() {
  char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(wake_[1], &byte, 1);
}

void Daemon::run() {
  std::vector<pollfd> fds;
  for (;;) {
    fds.clear();
    fds.push_back({wake_[0], POLLIN, 0});
    fds.push_back({finished_[0], POLLIN, 0});
    for (const auto& l : listeners_) fds.push_back({l.fd, POLLIN, 0});
    const size_t first_connection = fds.size();
    {
      std::lock_guard lock(connections_mutex_);
      for (const auto& c : connections_)
        if (!c->hung_up) fds.push_back({c->fd, POLLRDHUP, 0});
    }
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) break;
    // Before reaping and accepting, which may close and reuse socket numbers.
    endHungUpSessions(fds, first_connection);
    if (fds[1].revents != 0) {
      char drain[64];
      while (::read(finished_[0], drain, sizeof drain) > 0) {
      }
      reapFinished();
    }
    for (size_t i = 0; i < listeners_.size(); ++i)
      if (fds[2 + i].revents & POLLIN) accept(listeners_[i]);
  }
  closeAll();
}

void Daemon::accept(const Listener& listener) {
  int fd = ::accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  // Only our own user's programs may talk to the cards.
  if (wire::PeerUid(fd) != static_cast<long>(::geteuid())) {
    ::close(fd);
    return;
  }
  auto connection = std::make_unique<Connection>();
  Connection& c = *connection;
  c.fd = fd;
  c.card = listener.card;
  if (c.card != nullptr) c.session = std::make_unique<Session>(*c.card);
  std::lock_guard lock(connections_mutex_);
  connections_.push_back(std::move(connection));
  c.thread = std::thread([this, &c] { serve(c); });
}

void Daemon::serve(Connection& c) {
  if (c.card != nullptr)
    serveDevice(c);
  else
    serveControl(c);
  // The peer sees the end at once: the main loop closes the socket now.
  ::shutdown(c.fd, SHUT_RDWR);
  c.finished = true;
  char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(finished_[1], &byte, 1);
}

void Daemon::serveDevice(Connection& c) {
  wire::Reader reader(c.fd);
  ReplyBatch replies(c.fd);
  ServeDeviceRequests(*c.card, *c.session, reader, replies);
}

void Daemon::serveControl(Connection& c) {
  wire::Reader reader(c.fd);
  std::string line;
  for (;;) {
    uint8_t byte = 0;
    if (reader.readExact({&byte, 1}) != wire::Reader::Status::kOk) return;
    if (byte != '\n') {
      if (line.size() == kMaxControlLine) return;
      line.push_back(static_cast<char>(byte));
      continue;
    }
    CtlReply reply = commands_.run(simulator_, line);
    line.clear();
    std::string text = reply.ok ? "ok" : "error";
    if (!reply.text.empty()) text += " " + reply.text;
    std::replace(text.begin(), text.end(), '\n', ' ');
    text += '\n';
    const std::span<const uint8_t> pieces[] = {
        {reinterpret_cast<const uint8_t*>(text.data()), text.size()}};
    if (!wire::SendAll(c.fd, pieces)) return;
  }
}

void Daemon::dropConnectionsOf(const Card* card) {
  std::lock_guard lock(connections_mutex_);
  for (auto& c : connections_)
    if (c->card == card) ::shutdown(c->fd, SHUT_RDWR);
}

// A peer that hung up is waited for no longer, whatever its request is waiting for.
void Daemon::endHungUpSessions(const std::vector<pollfd>& fds, size_t first) {
  std::lock_guard lock(connections_mutex_);
  for (size_t i = first; i < fds.size(); ++i) {
    if ((fds[i].revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) == 0) continue;
    for (auto& c : connections_) {
      if (c->fd != fds[i].fd) continue;
      c->hung_up = true;
      if (c->session) c->session->cancel();
    }
  }
}

void Daemon::reapFinished() {
  std::lock_guard lock(connections_mutex_);
  for (auto it = connections_.begin(); it != connections_.end();) {
    Connection& c = **it;
    if (!c.finished) {
      ++it;
      continue;
    }
    c.thread.join();
    ::close(c.fd);
    it = connections_.erase(it);
  }
}

void Daemon::closeAll() {
  for (auto& l : listeners_) {
    ::close(l.fd);
    ::unlink(l.path.c_str());
  }
  listeners_.clear();
  std::list<std::unique_ptr<Connection>> ending;
  {
    std::lock_guard lock(connections_mutex_);
    for (auto& c : connections_) {
      ::shutdown(c->fd, SHUT_RDWR);
      if (c->session) c->session->cancel();
    }
    ending.swap(connections_);
  }
  for (auto& c : ending) {
    c->thread.join();
    ::close(c->fd);
  }
}

}  // namespace cardsim
