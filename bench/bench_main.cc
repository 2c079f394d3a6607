// Runs every benchmark, then prints for each pair "name vs baseline" the ratio of their
// rates, both measured in this same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// The pairs compared: a measurement and the baseline measured beside it.
const std::pair<const char*, const char*> kPairs[] = {
    {"Flush2D_1920x1080", "PlainCopySwap_1920x1080"},
    {"UrlLoaderStream_64MiB", "RawSocketRead_64MiB"},
    {"TextLine_40Glyphs", "FreeTypeRender_40Glyphs"},
    {"Gl3DScene_Forwarded_1280x720", "Gl3DScene_Direct_1280x720"},
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so a saved log reads cleanly.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // Items (frames, bytes) per second of real time.
      double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Iteration && seconds > 0)
        rates_[run.run_name.function_name] = 1.0 / seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void printRatios() const {
    for (const auto& [measured, baseline] : kPairs) {
      auto m = rates_.find(measured), b = rates_.find(baseline);
      if (m == rates_.end() || b == rates_.end()) continue;
      std::printf("ratio %s / %s = %.3f (%.1f vs %.1f per second)\n", measured, baseline,
                  m->second / b->second, m->second, b->second);
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
