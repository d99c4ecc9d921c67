#include "exporter/metric_set.h"

namespace exporter {

void MetricSet::add(const std::string& name, const char* help, MetricType type, Labels labels, double value) {
  auto [it, inserted] = index_.try_emplace(name, families_.size());
  if (inserted) families_.push_back({name, help, type, {}});
  families_[it->second].samples.push_back({std::move(labels), value});
}

}  // namespace exporter
