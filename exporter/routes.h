#pragma once
// What the exporter answers: the landing page, the metrics, and 404/405.

#include <chrono>
#include <string>

#include "exporter/collector.h"
#include "exporter/http_server.h"

namespace exporter {

// The longest a scrape reads the cards; a scraper's own shorter time-out
// (less a margin for the answer to travel) shortens it.
inline constexpr std::chrono::milliseconds kMaxScrapeDeadline{5000};
std::chrono::milliseconds ScrapeDeadline(const std::string& scrape_timeout_header);

HttpResponse Route(const HttpRequest& request, const std::string& telemetry_path, Collector& collector);

}  // namespace exporter
