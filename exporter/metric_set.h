#pragma once
// Collects the samples of one scrape into families, each family made once
// with its help text and type, in the order they first appear.

#include <map>
#include <string>
#include <vector>

#include "exporter/exposition.h"

namespace exporter {

class MetricSet {
 public:
  void add(const std::string& name, const char* help, MetricType type, Labels labels, double value);
  void gauge(const std::string& name, const char* help, Labels labels, double value) {
    add(name, help, MetricType::kGauge, std::move(labels), value);
  }
  void counter(const std::string& name, const char* help, Labels labels, double value) {
    add(name, help, MetricType::kCounter, std::move(labels), value);
  }

  const std::vector<MetricFamily>& families() const { return families_; }

 private:
  std::vector<MetricFamily> families_;
  std::map<std::string, size_t> index_;
};

}  // namespace exporter
