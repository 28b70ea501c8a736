#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Timing several things against each other on a shared, noisy machine.
namespace bench {

using Clock = std::chrono::steady_clock;

[[nodiscard]] double secondsSince(Clock::time_point start);

// One of the things a benchmark compares: runs once and returns the seconds
// that count, leaving out its own setting up and tidying.
struct Contender {
    std::string name;
    std::function<double()> run;
};

// Runs every contender once per iteration, a different one first each time,
// so that a slow spell of the shared machine falls on all of them alike. Sets
// a counter per contender (its time per run, times scale) and one per ratio
// (numerator, denominator), the ratio of their total times.
void runInTurn(benchmark::State &state, const std::vector<Contender> &contenders, double scale, const char *unit,
               const std::vector<std::pair<int, int>> &ratios);

// Manual time, microseconds, and only the aggregates of the repetitions.
void configure(benchmark::internal::Benchmark *benchmark, int repetitions);

} // namespace bench
