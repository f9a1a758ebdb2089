#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// Timing and printing shared by the benchmark programs. Each operation runs once unmeasured
// (the archive comes into the page cache, as it is after the program's first look at it), then
// a number of times; the median is set beside its target, the slowest run printed with it: a
// machine shared with other work slows single runs.
namespace velmora::bench {

struct Figure
{
    double median = 0;
    double slowest = 0;
};

// setup runs before each call of op, outside the time: what op consumes is put back there.
template <class Setup, class Op> Figure measure(int runs, Setup &&setup, Op &&op)
{
    setup();
    op();
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        setup();
        const auto start = std::chrono::steady_clock::now();
        op();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

template <class Op> Figure measure(int runs, Op &&op)
{
    return measure(runs, [] {}, op);
}

// Counts the targets met and missed over a program's run.
class Report
{
public:
    void section(const std::string &title)
    {
        std::printf("\n%s\n%-52s %10s %10s %10s  %s\n", title.c_str(), "operation", "median ms", "slowest", "target",
                    "");
        std::fflush(stdout);
    }

    // targetMs 0: a figure with no target.
    void line(const std::string &operation, const Figure &figure, double targetMs)
    {
        std::string verdict;
        char target[32] = "-";
        if (targetMs > 0) {
            std::snprintf(target, sizeof target, "< %.0f", targetMs);
            const bool met = figure.median < targetMs;
            verdict = met ? "met" : "MISSED";
            ++(met ? m_met : m_missed);
        }
        std::printf("%-52s %10.2f %10.2f %10s  %s\n", operation.c_str(), figure.median, figure.slowest, target,
                    verdict.c_str());
        std::fflush(stdout);
    }

    void summary() const
    {
        std::printf("\n%d targets met, %d missed\n", m_met, m_missed);
    }

private:
    int m_met = 0;
    int m_missed = 0;
};

} // namespace velmora::bench
