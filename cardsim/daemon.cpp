#include "cardsim/daemon.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

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
  for (int fd : wake_)
    if (fd >= 0) ::close(fd);
}

bool Daemon::start(std::string* error) {
  if (!PrepareSocketDirectory(directory_, error)) return false;
  lock_ = DirectoryLock::Acquire(directory_, error);
  if (!lock_) return false;
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
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
  fds.push_back({wake_[0], POLLIN, 0});
  for (const auto& l : listeners_) fds.push_back({l.fd, POLLIN, 0});
  for (;;) {
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) break;
    for (size_t i = 1; i < fds.size(); ++i)
      if (fds[i].revents & POLLIN) accept(listeners_[i - 1]);
    reapFinished();
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
  c.thread = std::thread([this, &c] {
    if (c.card != nullptr)
      serveDevice(c);
    else
      serveControl(c);
    // Closed at once so the peer sees the end; under the lock so a drop
    // never shuts down a number the system has handed out again.
    std::lock_guard done(connections_mutex_);
    ::close(c.fd);
    c.fd = -1;
    c.finished = true;
  });
}

void Daemon::serveDevice(Connection& c) {
  wire::Reader reader(c.fd);
  std::vector<uint8_t> in;
  std::vector<uint8_t> out;
  for (;;) {
    std::array<uint8_t, wire::kRequestHeaderSize> head;
    if (reader.readExact(head) != wire::Reader::Status::kOk) return;
    // A request that breaks the format ends this connection only.
    auto request = wire::DecodeRequestHeader(head);
    if (!request) return;
    in.resize(request->in_len);
    if (!in.empty() && reader.readExact(in) != wire::Reader::Status::kOk) return;
    out.assign(request->out_len, 0);
    uint32_t returned = 0;
    bool ok = c.card->control(*c.session, request->code, in, out, &returned);
    if (!ok) returned = 0;
    returned = std::min<uint32_t>(returned, request->out_len);

    std::array<uint8_t, wire::kReplyHeaderSize> reply;
    wire::EncodeReplyHeader({ok, returned}, reply);
    const std::span<const uint8_t> pieces[] = {reply, std::span(out).first(returned)};
    if (!wire::SendAll(c.fd, pieces)) return;
  }
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
    if (c->card == card && c->fd >= 0) ::shutdown(c->fd, SHUT_RDWR);
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
      if (c->fd >= 0) ::shutdown(c->fd, SHUT_RDWR);
      if (c->session) c->session->cancel();
    }
    ending.swap(connections_);
  }
  for (auto& c : ending) c->thread.join();
}

}  // namespace cardsim
