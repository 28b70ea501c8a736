#pragma once

#include "FigureReporter.h"

#include <map>
#include <string>

namespace bench {

// Prints figures as rows of the Markdown table that bench/run gathers:
// "| what | value | goal |".
class FigureTable {
public:
    explicit FigureTable(const std::map<std::string, Figure> &figures) : m_figures(figures) {}

    // The header line, with how the figures were taken.
    static void printHeader(int repetitions);
    void time(const char *what, const char *key, const char *unit) const;
    // A ratio; with a goal, whether the median meets it.
    void ratio(const char *what, const char *key, double goal = 0) const;

private:
    static void row(const char *what, const char *value, const char *goal = "");
    [[nodiscard]] Figure get(const char *key) const;

    const std::map<std::string, Figure> &m_figures;
};

} // namespace bench
