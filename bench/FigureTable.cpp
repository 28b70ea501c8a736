#include "FigureTable.h"

#include <cmath>
#include <cstdio>

namespace bench {

void FigureTable::printHeader(int repetitions)
{
    std::printf("\nMedians of %d repetitions (± the coefficient of variation across them):\n\n", repetitions);
    std::printf("| figure | value | goal |\n|---|---|---|\n");
}

void FigureTable::time(const char *what, const char *key, const char *unit) const
{
    const Figure figure = get(key);
    char text[64];
    std::snprintf(text, sizeof text, "%.3g %s (±%.0f%%)", figure.median, unit, figure.spread * 100);
    row(what, figure.median > 0 ? text : "not run");
}

void FigureTable::ratio(const char *what, const char *key, double goal) const
{
    const Figure figure = get(key);
    char text[64];
    std::snprintf(text, sizeof text, "%.3f (±%.0f%%)", figure.median, figure.spread * 100);
    char verdict[64] = "";
    if (goal > 0)
        std::snprintf(verdict, sizeof verdict, "<= %.2f: %s", goal,
                      figure.median <= 0 ? "not run" : figure.median <= goal ? "met" : "NOT met");
    row(what, figure.median > 0 ? text : "not run", verdict);
}

void FigureTable::row(const char *what, const char *value, const char *goal)
{
    std::printf("| %s | %s | %s |\n", what, value, goal);
}

Figure FigureTable::get(const char *key) const
{
    const auto found = m_figures.find(key);
    return found == m_figures.end() || !std::isfinite(found->second.median) ? Figure{} : found->second;
}

} // namespace bench
