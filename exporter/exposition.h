#pragma once
// Metric families and their rendering in the two exposition formats
// Prometheus scrapes: the classic text format (0.0.4) and OpenMetrics 1.0.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace exporter {

enum class MetricType { kGauge, kCounter };

using Labels = std::vector<std::pair<std::string, std::string>>;

struct Sample {
  Labels labels;
  double value = 0;
};

// A counter's name ends in "_total", as both formats expect of its samples.
struct MetricFamily {
  std::string name;
  std::string help;
  MetricType type = MetricType::kGauge;
  std::vector<Sample> samples;
};

enum class ExpositionFormat { kText, kOpenMetrics };

inline constexpr char kTextContentType[] = "text/plain; version=0.0.4; charset=utf-8";
inline constexpr char kOpenMetricsContentType[] =
    "application/openmetrics-text; version=1.0.0; charset=utf-8";

// OpenMetrics only when the Accept header asks for it (version 1.0.0 or
// unversioned, with a non-zero quality); the text format otherwise.
ExpositionFormat NegotiateFormat(std::string_view accept);
const char* ContentType(ExpositionFormat format);

// Families without samples are left out.
std::string Render(const std::vector<MetricFamily>& families, ExpositionFormat format);

}  // namespace exporter
