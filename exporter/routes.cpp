#include "exporter/routes.h"

#include <algorithm>
#include <charconv>

#include "exporter/exposition.h"

namespace exporter {

namespace {

constexpr std::chrono::milliseconds kAnswerMargin{250};
constexpr std::chrono::milliseconds kMinScrapeDeadline{100};

// The path comes from the command line; it is text, never markup.
std::string HtmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string LandingPage(const std::string& telemetry_path) {
  return "<!DOCTYPE html>\n<html><head><title>Talvlink exporter</title></head>\n<body>\n"
         "<h1>Talvlink exporter</h1>\n<p><a href=\"" +
         HtmlEscaped(telemetry_path) + "\">Metrics</a></p>\n</body></html>\n";
}

}  // namespace

std::chrono::milliseconds ScrapeDeadline(const std::string& header) {
  double seconds = 0;
  const auto [end, ec] = std::from_chars(header.data(), header.data() + header.size(), seconds);
  if (header.empty() || ec != std::errc() || !(seconds > 0)) return kMaxScrapeDeadline;
  const auto wanted = std::chrono::milliseconds(static_cast<long long>(std::min(seconds, 3600.0) * 1000)) - kAnswerMargin;
  return std::clamp(wanted, kMinScrapeDeadline, kMaxScrapeDeadline);
}

HttpResponse Route(const HttpRequest& request, const std::string& telemetry_path, Collector& collector) {
  if (request.path != "/" && request.path != telemetry_path)
    return {404, "text/plain; charset=utf-8", "Not found\n"};
  if (request.method != "GET" && request.method != "HEAD")
    return {405, "text/plain; charset=utf-8", "Only GET is served\n"};
  if (request.path == "/") return {200, "text/html; charset=utf-8", LandingPage(telemetry_path)};
  const ExpositionFormat format = NegotiateFormat(request.accept);
  return {200, ContentType(format), Render(collector.collect(ScrapeDeadline(request.scrape_timeout)), format)};
}

}  // namespace exporter
