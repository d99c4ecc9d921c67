#include "exporter/exposition.h"

#include <charconv>
#include <cmath>

namespace exporter {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One media range of an Accept header: does it take OpenMetrics 1.0?
bool RangeTakesOpenMetrics(std::string_view range) {
  size_t semi = range.find(';');
  if (!EqualsIgnoringCase(Trim(range.substr(0, semi)), "application/openmetrics-text")) return false;
  while (semi != std::string_view::npos) {
    range.remove_prefix(semi + 1);
    semi = range.find(';');
    const std::string_view param = Trim(range.substr(0, semi));
    const size_t eq = param.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = Trim(param.substr(0, eq));
    const std::string_view value = Trim(param.substr(eq + 1));
    if (EqualsIgnoringCase(key, "version") && value != "1.0.0") return false;
    if (EqualsIgnoringCase(key, "q")) {
      double q = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), q);
      if (ec != std::errc() || q <= 0) return false;
    }
  }
  return true;
}

void AppendEscaped(std::string& out, std::string_view text, bool escape_quotes) {
  for (char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '"' && escape_quotes) {
      out += "\\\"";
    } else {
      out += c;
    }
  }
}

void AppendValue(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "NaN";
  } else if (std::isinf(value)) {
    out += value > 0 ? "+Inf" : "-Inf";
  } else {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
  }
}

void AppendSample(std::string& out, std::string_view name, const Sample& sample) {
  out += name;
  if (!sample.labels.empty()) {
    out += '{';
    for (size_t i = 0; i < sample.labels.size(); ++i) {
      if (i > 0) out += ',';
      out += sample.labels[i].first;
      out += "=\"";
      AppendEscaped(out, sample.labels[i].second, true);
      out += '"';
    }
    out += '}';
  }
  out += ' ';
  AppendValue(out, sample.value);
  out += '\n';
}

}  // namespace

ExpositionFormat NegotiateFormat(std::string_view accept) {
  while (!accept.empty()) {
    const size_t comma = accept.find(',');
    if (RangeTakesOpenMetrics(accept.substr(0, comma))) return ExpositionFormat::kOpenMetrics;
    if (comma == std::string_view::npos) break;
    accept.remove_prefix(comma + 1);
  }
  return ExpositionFormat::kText;
}

const char* ContentType(ExpositionFormat format) {
  return format == ExpositionFormat::kOpenMetrics ? kOpenMetricsContentType : kTextContentType;
}

std::string Render(const std::vector<MetricFamily>& families, ExpositionFormat format) {
  const bool open_metrics = format == ExpositionFormat::kOpenMetrics;
  std::string out;
  for (const MetricFamily& family : families) {
    if (family.samples.empty()) continue;
    const bool counter = family.type == MetricType::kCounter;
    // OpenMetrics names a counter family without the suffix its samples carry.
    std::string_view family_name = family.name;
    if (open_metrics && counter && family_name.ends_with("_total")) family_name.remove_suffix(6);
    out += "# HELP ";
    out += family_name;
    out += ' ';
    AppendEscaped(out, family.help, open_metrics);
    out += "\n# TYPE ";
    out += family_name;
    out += counter ? " counter\n" : " gauge\n";
    for (const Sample& sample : family.samples) AppendSample(out, family.name, sample);
  }
  if (open_metrics) out += "# EOF\n";
  return out;
}

}  // namespace exporter
