#pragma once
// A small HTTP front on libmicrohttpd: each request is handed to one
// function on a thread of its own, so a slow scrape never holds up another.

#include <functional>
#include <memory>
#include <string>

#include "exporter/options.h"

struct MHD_Daemon;

namespace exporter {

struct HttpRequest {
  std::string method;
  std::string path;
  std::string accept;
  std::string scrape_timeout;  // X-Prometheus-Scrape-Timeout-Seconds
};

struct HttpResponse {
  unsigned status = 200;
  std::string content_type;
  std::string body;
};

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;

class HttpServer {
 public:
  // Null with *error when the address cannot be served.
  static std::unique_ptr<HttpServer> Start(const ListenAddress& address, HttpHandler handler, std::string* error);
  ~HttpServer();

  unsigned port() const;

 private:
  explicit HttpServer(HttpHandler handler) : handler_(std::move(handler)) {}

  HttpHandler handler_;
  MHD_Daemon* daemon_ = nullptr;
};

}  // namespace exporter
