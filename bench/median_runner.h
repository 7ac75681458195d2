#pragma once
// What the benchmark programs share: many short repetitions, interleaved at random so that a busy
// machine weighs on every benchmark alike, and the median of each kept for the program's summary.

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wheelright {

// Runs the registered benchmarks and answers each one's median real time in nanoseconds, or none
// when the command line holds a flag that is not understood. Flags given there win over these.
// Each registration sets its minimum time in code (MinTime, seconds): Benchmark 1.8 warns about
// a --benchmark_min_time without a unit, and 1.7 reads none.
inline std::optional<std::map<std::string, double>> runForMedians(int argc, char** argv,
                                                                  int repetitions) {
  class MedianReporter : public benchmark::ConsoleReporter {
   public:
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const Run& run : runs) {
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
          medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
      }
      ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
  };

  std::vector<std::string> defaults = {"--benchmark_repetitions=" + std::to_string(repetitions),
                                       "--benchmark_enable_random_interleaving=true",
                                       "--benchmark_report_aggregates_only=true"};
  std::vector<char*> args(argv, argv + argc);
  for (std::size_t i = 0; i < defaults.size(); ++i) {
    args.insert(args.begin() + 1 + static_cast<long>(i), defaults[i].data());
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return std::nullopt;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.medians;
}

}  // namespace wheelright
