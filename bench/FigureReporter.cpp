#include "FigureReporter.h"

namespace bench {

void FigureReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.run_type != Run::RT_Aggregate || run.error_occurred)
            continue;
        for (const auto &[counter, value] : run.counters) {
            const std::string key = run.run_name.function_name + ":" + counter;
            if (run.aggregate_name == "median")
                figures[key].median = value;
            else if (run.aggregate_name == "mean")
                m_means[key] = value;
            else if (run.aggregate_name == "stddev" && m_means[key] != 0)
                figures[key].spread = value / m_means[key];
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

} // namespace bench
