#pragma once
// A small timed harness: measurements register the figures they produce;
// `talv_bench [name...]` runs the measurements that produce the named
// figures (or the named measurements) and prints "<figure> <value> <unit>".
// Figures that belong together, such as a rate and the ratio to its
// baseline, come from one measurement so they are taken in the same run.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct Figure {
  std::string name;
  std::string unit;
  int decimals = 0;  // printed precision
  std::string target;  // what the figure should reach, printed after the unit
};

using Values = std::map<std::string, double>;  // figure name -> value

struct Measurement {
  std::string name;
  std::vector<Figure> figures;
  bool in_default_run = true;  // long runs (soak) only when named
  std::function<Values()> run;
};

class Registry {
 public:
  void add(Measurement measurement) { measurements_.push_back(std::move(measurement)); }
  const std::vector<Measurement>& measurements() const { return measurements_; }

 private:
  std::vector<Measurement> measurements_;
};

// Every measurement, each group registered from its own file (see main.cpp).
void RegisterExecCmdFigures(Registry& registry);
void RegisterMonitorFigures(Registry& registry);
void RegisterRxFigures(Registry& registry);  // rx_*, with Qt
void RegisterSoakFigures(Registry& registry);  // soak_*, with Qt, only when named
void RegisterLineRateFigures(Registry& registry);  // line_rate_*, talvmon and talvcard as processes
void RegisterExporterFigures(Registry& registry);  // exporter_*, the real program
void RegisterTalvctlFigures(Registry& registry);  // talvctl_*
void RegisterCaptureFigures(Registry& registry);  // capture_*, talvcap at line rate

// Calls step() repeatedly for about `duration`; the calls per second.
double RatePerSecond(std::chrono::duration<double> duration, const std::function<bool()>& step);

double Median(std::vector<double> values);

}  // namespace bench
