// Runs every benchmark, then prints the figures of those that measure a count (loop
// turns, CPU share, resident size), and for each pair "name vs baseline" the ratio of
// their rates, both measured in this same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The pairs compared: a measurement, the baseline measured beside it, and the ratio it
// should reach (0: printed for information).
struct Pair {
  const char* measured;
  const char* baseline;
  double goal;
};
const Pair kPairs[] = {
    {"Flush2D_1920x1080", "TransferLimit_1920x1080", 0.9},
    {"Flush2D_800x600_Partial", "TransferLimit_800x600_Partial", 0.9},
    {"UrlLoaderStream_64MiB", "RawRequestReply_64MiB", 0.9},
    {"UrlLoaderStream_64MiB", "RawSocketRead_64MiB", 0},
    {"TextLine_40Glyphs", "FreeTypeRender_40Glyphs", 0},
};

// Measurements reported as figures rather than ratios: the name's prefix.
const char* const kFigures[] = {"LoopTurns_", "HostCpu_", "Memory_"};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so a saved log reads cleanly.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // Items (frames, bytes) per second of real time.
      double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      // With --benchmark_repetitions the median stands for the measurement.
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if ((run.run_type == Run::RT_Iteration || median) && seconds > 0)
        rates_[run.run_name.function_name] = 1.0 / seconds;
      if (run.run_type != Run::RT_Iteration) continue;
      for (const char* prefix : kFigures) {
        if (run.run_name.function_name.rfind(prefix, 0) != 0) continue;
        std::string line = run.run_name.function_name + ":";
        for (const auto& [name, counter] : run.counters) {
          char value[64];
          std::snprintf(value, sizeof(value), " %s %.2f", name.c_str(), counter.value);
          line += value;
        }
        figures_.push_back(line);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void printSummary() const {
    for (const std::string& line : figures_) std::printf("%s\n", line.c_str());
    for (const Pair& pair : kPairs) {
      auto m = rates_.find(pair.measured), b = rates_.find(pair.baseline);
      if (m == rates_.end() || b == rates_.end()) continue;
      char goal[32] = "";
      if (pair.goal > 0) std::snprintf(goal, sizeof(goal), ", goal >= %.2f", pair.goal);
      std::printf("ratio %s / %s = %.3f (%.1f vs %.1f per second%s)\n", pair.measured,
                  pair.baseline, m->second / b->second, m->second, b->second, goal);
    }
  }

 private:
  std::map<std::string, double> rates_;
  std::vector<std::string> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printSummary();
  benchmark::Shutdown();
  return 0;
}
