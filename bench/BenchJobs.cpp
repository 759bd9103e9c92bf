#include "BenchJobs.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <stop_token>
#include <thread>
#include <variant>

#include "job/BalanceJob.h"
#include "job/HeadlessWindow.h"
#include "job/PreparedSearch.h"
#include "search/IntegerKernel.h"

namespace qivara::bench {

namespace {

// Runs `work` with a stop token whose stop is requested after `budget` if `work` still runs.
template <typename Work>
auto WithBudget(std::chrono::milliseconds budget, Work work) {
    std::stop_source stop;
    std::atomic<bool> finished{false};
    std::thread timer([&] {
        const auto deadline = Clock::now() + budget;
        while (!finished.load() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!finished.load()) stop.request_stop();
    });
    auto result = work(stop.get_token());
    finished = true;
    timer.join();
    return result;
}

}  // namespace

std::size_t KernelDimension(const SearchProblem& problem) {
    std::vector<IntegerRow> rows;
    for (const auto& counts : problem.elementCounts) rows.emplace_back(counts.begin(), counts.end());
    try {
        return IntegerKernel(rows, problem.SpeciesCount()).Dimension();
    } catch (const exact::ArithmeticOverflow&) {
        // Large counts: the elimination's entries left 128 bits.
        return IntegerKernelOf<exact::Wide>(Widened(rows), problem.SpeciesCount()).Dimension();
    }
}

Shape ShapeOf(const std::string& equation) {
    auto prepared = PrepareSearch(equation, "16", "1");
    const SearchProblem problem = std::get<PreparedSearch>(prepared).problem;
    return {problem.SpeciesCount(), KernelDimension(problem), problem};
}

Run RunJob(const std::string& equation, const std::string& limit, const std::string& results, SearchEngine engine,
           std::chrono::milliseconds budget) {
    HeadlessWindow window(equation, limit, results);
    return WithBudget(budget, [&](std::stop_token stop) {
        const auto start = Clock::now();
        const JobOutcome outcome = BalanceJob(window, JobOptions{engine, stop, {}});
        const auto end = Clock::now();
        return Run{std::chrono::duration<double, std::milli>(end - start).count(), outcome.kind == FinishKind::Stopped,
                   outcome.solutions.size()};
    });
}

bool SearchWidens(const std::string& equation, const std::string& limit, const std::string& results,
                  std::chrono::milliseconds budget) {
    const SearchProblem problem = std::get<PreparedSearch>(PrepareSearch(equation, limit, results)).problem;
    return WithBudget(budget, [&](std::stop_token stop) {
        return RunCoefficientSearch(SearchEngine::Lattice, problem, SearchControl{stop, {}}).widened;
    });
}

void Slowest::Print(std::size_t count) {
    std::sort(m_jobs.rbegin(), m_jobs.rend());
    for (std::size_t k = 0; k < std::min(count, m_jobs.size()); ++k)
        std::printf("  %9.4f ms  %s\n", m_jobs[k].first, m_jobs[k].second.c_str());
}

}  // namespace qivara::bench
