#pragma once
// What every part of qivara-bench measures with: an equation's shape, one job or one search
// under a time budget, and the list of the slowest jobs.

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "search/CoefficientSearch.h"

namespace qivara::bench {

using Clock = std::chrono::steady_clock;

inline constexpr auto kMaxLimit = "2147483647";

struct Shape {
    std::size_t species = 0;
    std::size_t kernelDimension = 0;
    SearchProblem defaults;  // at the window's defaults (16, 1)
};

// The equation must be accepted by PrepareSearch.
Shape ShapeOf(const std::string& equation);

// The integer kernel's dimension of an accepted equation's element matrix.
std::size_t KernelDimension(const SearchProblem& problem);

struct Run {
    double milliseconds = 0;
    bool stopped = false;
    std::size_t solutions = 0;
};

// One job on a fresh headless window; the stop is requested after `budget` if it still runs.
Run RunJob(const std::string& equation, const std::string& limit, const std::string& results, SearchEngine engine,
           std::chrono::milliseconds budget);

// The fast search alone on the equation's prepared problem at these limits, stopped after
// `budget`: whether it went past 128 bits (SearchResult::widened). The equation must be
// accepted by PrepareSearch.
bool SearchWidens(const std::string& equation, const std::string& limit, const std::string& results,
                  std::chrono::milliseconds budget);

// The slowest jobs seen at one setting, to print at the end.
class Slowest {
public:
    void Add(double milliseconds, const std::string& equation) { m_jobs.emplace_back(milliseconds, equation); }
    void Print(std::size_t count);

private:
    std::vector<std::pair<double, std::string>> m_jobs;
};

}  // namespace qivara::bench
