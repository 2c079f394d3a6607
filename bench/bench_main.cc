// Runs every benchmark, then prints the figures of those that measure a count (loop
// turns, CPU share, resident size), and for each measurement and baseline the ratio of
// their rates, both measured in this same run.
#include <benchmark/benchmark.h>
#include <signal.h>
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
    {"TextLine_40Glyphs", "FreeTypeRender_40Glyphs", 0},
    {"Gl3DScene_Forwarded_1280x720", "Gl3DScene_Direct_1280x720", 0.8},
};

// Measurements that run against their baselines in alternating rounds (bench/paired.h):
// "Compare_" and the measured side's name.
constexpr char kPaired[] = "Compare_";

// Measurements reported as figures rather than ratios: the name's prefix.
const char* const kFigures[] = {"LoopTurns_", "HostCpu_", "Memory_", "Window_"};

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
      if (run.run_name.function_name.rfind(kPaired, 0) == 0) pairedRatios(run);
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
  // A paired run's counters: "rate NAME" for each side, "ratio NAME" and "goal NAME" for
  // each baseline.
  void pairedRatios(const Run& run) {
    std::string measured = run.run_name.function_name.substr(sizeof(kPaired) - 1);
    auto counter = [&](const std::string& name) {
      auto found = run.counters.find(name);
      return found != run.counters.end() ? found->second.value : 0.0;
    };
    std::string rate = "rate " + measured.substr(0, measured.find('_'));
    for (const auto& [name, value] : run.counters) {
      if (name.rfind("ratio ", 0) != 0) continue;
      std::string baseline = name.substr(6);
      char goal[32] = "", line[256];
      if (double g = counter("goal " + baseline); g > 0)
        std::snprintf(goal, sizeof(goal), ", goal >= %.2f", g);
      std::snprintf(line, sizeof(line),
                    "ratio %s / %s = %.3f (median of the rounds; %.1f vs %.1f per second%s)",
                    measured.c_str(), baseline.c_str(), value.value, counter(rate),
                    counter("rate " + baseline), goal);
      ratios_.push_back(line);
    }
  }

  void printSummary() const {
    for (const std::string& line : figures_) std::printf("%s\n", line.c_str());
    for (const std::string& line : ratios_) std::printf("%s\n", line.c_str());
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
  std::vector<std::string> ratios_;
};

}  // namespace

int main(int argc, char** argv) {
  // A benchmark ends its controller thread by shutting the connection down; a write the
  // thread was making at that moment must fail, not end the process.
  signal(SIGPIPE, SIG_IGN);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printSummary();
  benchmark::Shutdown();
  return 0;
}
