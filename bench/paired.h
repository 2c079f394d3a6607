// A measurement and its baselines run in alternating rounds inside one benchmark, so that
// whatever else the machine is doing weighs on all of them alike. Each round times a
// batch of each (in turn, the order rotating from round to round); the ratio reported
// against each baseline is the median over the rounds of measured rate / baseline rate.
// bench_main prints these as "ratio" lines, with the goal when there is one. The main
// thread's CPU per item of each side is reported too: it shows the host's own overhead
// where scheduling on a busy machine blurs the times.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The calling thread's user and system time.
inline double threadCpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct PairedSide {
  std::string name;
  std::function<void()> item;  // one frame, one body, ...
  double goal = 0;             // for a baseline: the ratio to reach (0: information)
};

inline void runPaired(benchmark::State& state, int rounds, int batch, const PairedSide& measured,
                      const std::vector<PairedSide>& baselines) {
  std::vector<const PairedSide*> sides{&measured};
  for (const PairedSide& b : baselines) sides.push_back(&b);
  for (const PairedSide* side : sides) side->item();  // warm up
  std::vector<double> total(sides.size(), 0), cpu(sides.size(), 0);
  std::vector<std::vector<double>> ratios(baselines.size());
  for (auto _ : state) {
    for (int round = 0; round < rounds; ++round) {
      std::vector<double> seconds(sides.size());
      for (size_t k = 0; k < sides.size(); ++k) {
        size_t i = (k + static_cast<size_t>(round)) % sides.size();
        auto start = std::chrono::steady_clock::now();
        double cpuStart = threadCpuSeconds();
        for (int n = 0; n < batch; ++n) sides[i]->item();
        cpu[i] += threadCpuSeconds() - cpuStart;
        seconds[i] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        total[i] += seconds[i];
      }
      for (size_t b = 0; b < baselines.size(); ++b)
        ratios[b].push_back(seconds[b + 1] / seconds[0]);
    }
  }
  double items = static_cast<double>(rounds) * batch;
  state.counters["rate " + measured.name] = items / total[0];
  for (size_t i = 0; i < sides.size(); ++i)
    state.counters["cpu_us " + sides[i]->name] = 1e6 * cpu[i] / items;
  for (size_t b = 0; b < baselines.size(); ++b) {
    std::vector<double>& r = ratios[b];
    std::nth_element(r.begin(), r.begin() + r.size() / 2, r.end());
    state.counters["rate " + baselines[b].name] = items / total[b + 1];
    state.counters["ratio " + baselines[b].name] = r[r.size() / 2];
    state.counters["goal " + baselines[b].name] = baselines[b].goal;
  }
}
