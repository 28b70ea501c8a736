#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Figure {
    double median = 0;
    double spread = 0; // coefficient of variation across the repetitions
};

// The console output as usual, keeping the medians of the counters, by
// "benchmark:counter".
class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override;

    std::map<std::string, Figure> figures;

private:
    std::map<std::string, double> m_means;
};

} // namespace bench
