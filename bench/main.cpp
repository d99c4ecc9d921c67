// talv_bench [figure or measurement name]...: runs the benchmarks and
// prints one line per figure, "<figure> <value> <unit>", and the figure's
// target in brackets where it has one.

#include <cstdio>
#include <set>
#include <string>

#include "bench/harness.h"

int main(int argc, char** argv) {
  bench::Registry registry;
  bench::RegisterExecCmdFigures(registry);
  bench::RegisterMonitorFigures(registry);
  bench::RegisterRxFigures(registry);
  bench::RegisterSoakFigures(registry);
  bench::RegisterLineRateFigures(registry);
  bench::RegisterExporterFigures(registry);
  bench::RegisterTalvctlFigures(registry);
  bench::RegisterCaptureFigures(registry);

  std::set<std::string> wanted(argv + 1, argv + argc);
  std::set<std::string> known;
  for (const auto& m : registry.measurements()) {
    known.insert(m.name);
    for (const auto& f : m.figures) known.insert(f.name);
  }
  for (const auto& name : wanted) {
    if (!known.count(name)) {
      std::fprintf(stderr, "talv_bench: no figure or measurement named %s\n", name.c_str());
      return 2;
    }
  }

  int status = 0;
  for (const auto& m : registry.measurements()) {
    bool whole = wanted.empty() ? m.in_default_run : wanted.count(m.name) > 0;
    std::vector<const bench::Figure*> shown;
    for (const auto& f : m.figures)
      if (whole || wanted.count(f.name)) shown.push_back(&f);
    if (shown.empty()) continue;
    bench::Values values = m.run();
    for (const auto* f : shown) {
      auto it = values.find(f->name);
      if (it == values.end()) {
        std::fprintf(stderr, "talv_bench: %s gave no value for %s\n", m.name.c_str(),
                     f->name.c_str());
        status = 1;
        continue;
      }
      std::printf("%s %.*f %s", f->name.c_str(), f->decimals, it->second, f->unit.c_str());
      if (!f->target.empty()) std::printf(" (target %s)", f->target.c_str());
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  return status;
}
