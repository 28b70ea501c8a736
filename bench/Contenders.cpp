#include "Contenders.h"

namespace bench {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void runInTurn(benchmark::State &state, const std::vector<Contender> &contenders, double scale, const char *unit,
               const std::vector<std::pair<int, int>> &ratios)
{
    std::vector<double> totals(contenders.size(), 0.0);
    std::size_t first = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (std::size_t turn = 0; turn < contenders.size(); ++turn) {
            const std::size_t which = (first + turn) % contenders.size();
            const double seconds = contenders[which].run();
            totals[which] += seconds;
            iteration += seconds;
        }
        first = (first + 1) % contenders.size();
        state.SetIterationTime(iteration);
    }
    for (std::size_t which = 0; which < contenders.size(); ++which)
        state.counters[contenders[which].name + "_" + unit] =
            benchmark::Counter(totals[which] * scale, benchmark::Counter::kAvgIterations);
    for (const auto &[numerator, denominator] : ratios)
        state.counters[contenders[std::size_t(numerator)].name + "/" + contenders[std::size_t(denominator)].name] =
            totals[std::size_t(numerator)] / totals[std::size_t(denominator)];
}

void configure(benchmark::internal::Benchmark *benchmark, int repetitions)
{
    benchmark->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(repetitions)->ReportAggregatesOnly(true);
}

} // namespace bench
