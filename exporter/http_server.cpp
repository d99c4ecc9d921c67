#include "exporter/http_server.h"

#include <microhttpd.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace exporter {

namespace {

// One thread per connection: bounded, so a flood of connections cannot exhaust the process.
constexpr unsigned kMaxConnections = 64;

std::string Header(MHD_Connection* connection, const char* name) {
  const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
  return value != nullptr ? value : "";
}

MHD_Result Answer(void* cls, MHD_Connection* connection, const char* url, const char* method, const char*,
                  const char*, size_t* upload_size, void** request_state) {
  // The first call only announces the request; a body, never expected, is
  // taken and dropped, and the answer given once it is all in.
  if (*request_state == nullptr) {
    static int announced;
    *request_state = &announced;
    return MHD_YES;
  }
  if (*upload_size != 0) {
    *upload_size = 0;
    return MHD_YES;
  }
  const auto& handler = *static_cast<const HttpHandler*>(cls);
  const HttpResponse reply = handler({method, url, Header(connection, MHD_HTTP_HEADER_ACCEPT),
                                      Header(connection, "X-Prometheus-Scrape-Timeout-Seconds")});
  MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                                           MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  if (!reply.content_type.empty()) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.content_type.c_str());
  const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

std::unique_ptr<HttpServer> HttpServer::Start(const ListenAddress& address, HttpHandler handler, std::string* error) {
  std::unique_ptr<HttpServer> server(new HttpServer(std::move(handler)));
  // No host: every IPv4 address, or every IPv6 one for "[]:PORT".
  addrinfo hints{};
  hints.ai_family = address.ipv6 ? AF_INET6 : address.host.empty() ? AF_INET : AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(address.port);
  if (const int rc = getaddrinfo(address.host.empty() ? nullptr : address.host.c_str(), port.c_str(), &hints, &found);
      rc != 0) {
    *error = gai_strerror(rc);
    return nullptr;
  }
  sockaddr_storage storage{};
  std::memcpy(&storage, found->ai_addr, std::min<size_t>(found->ai_addrlen, sizeof storage));
  unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_POLL;
  if (found->ai_family == AF_INET6) flags |= MHD_USE_IPv6;
  freeaddrinfo(found);
  server->daemon_ = MHD_start_daemon(flags, 0, nullptr, nullptr, &Answer, &server->handler_, MHD_OPTION_SOCK_ADDR,
                                     reinterpret_cast<sockaddr*>(&storage), MHD_OPTION_CONNECTION_TIMEOUT,
                                     static_cast<unsigned>(30), MHD_OPTION_CONNECTION_LIMIT, kMaxConnections,
                                     MHD_OPTION_END);
  if (server->daemon_ == nullptr) {
    *error = "cannot listen on that address (in use, or not this machine's)";
    return nullptr;
  }
  return server;
}

HttpServer::~HttpServer() {
  if (daemon_ != nullptr) MHD_stop_daemon(daemon_);
}

unsigned HttpServer::port() const {
  const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  return info != nullptr ? info->port : 0;
}

}  // namespace exporter
