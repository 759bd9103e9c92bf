#include "HardSets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <variant>

#include "BenchEquations.h"
#include "job/PreparedSearch.h"

namespace qivara::bench {

namespace {

// The problem of an equation PrepareSearch accepts, at the window's defaults.
std::optional<SearchProblem> Accepted(const std::string& equation) {
    auto prepared = PrepareSearch(equation, "16", "1");
    if (!std::holds_alternative<PreparedSearch>(prepared)) return std::nullopt;
    return std::get<PreparedSearch>(prepared).problem;
}

// `count` equations from `generate(random)` that PrepareSearch accepts with a kernel dimension
// in [lowest, highest]; the same list on every run.
template <typename Generate>
std::vector<std::string> Generated(unsigned seed, std::size_t count, std::size_t lowest, std::size_t highest,
                                   Generate generate) {
    std::mt19937 random(seed);
    std::vector<std::string> equations;
    while (equations.size() < count) {
        const std::string equation = generate(random);
        if (equation.empty()) continue;
        const std::optional<SearchProblem> problem = Accepted(equation);
        if (!problem) continue;
        const std::size_t dimension = KernelDimension(*problem);
        if (dimension >= lowest && dimension <= highest) equations.push_back(equation);
    }
    return equations;
}

// Counts of 5 to 9 digits on 3 to 10 species, kernels of dimension 1 to 5.
const std::vector<std::string>& LargeCountGenerated() {
    static const std::vector<std::string> equations = Generated(20261210, 30, 1, 5, [](std::mt19937& random) {
        const int species = Uniform(random, 3, 10);
        const int elements = species - Uniform(random, 1, std::min(5, species - 1));
        return LargeCountEquation(random, species, elements);
    });
    return equations;
}

// 12 to 24 species, kernels of dimension 6 to 12, small counts.
const std::vector<std::string>& HighDimensionGenerated() {
    static const std::vector<std::string> equations = Generated(20261211, 20, 6, 12, [](std::mt19937& random) {
        const int species = Uniform(random, 12, 24);
        const int elements = std::min(kPlantedSymbolCount, std::max(2, species - Uniform(random, 6, 12)));
        return PlantedEquation(random, species, elements);
    });
    return equations;
}

constexpr std::size_t kRandomCount = 300;

const std::vector<std::string>& RandomWindowEquations() {
    static const std::vector<std::string> equations = [] {
        std::mt19937 random(20261212);
        std::vector<std::string> kept;
        while (kept.size() < kRandomCount) {
            const std::string equation = RandomWindowEquation(random);
            if (!equation.empty() && Accepted(equation)) kept.push_back(equation);
        }
        return kept;
    }();
    return equations;
}

// A job's time for the tables: "stopped" when its budget ran out.
std::string TimeText(const Run& run) {
    if (run.stopped) return "   stopped";
    char text[32];
    std::snprintf(text, sizeof text, "%10.3f", run.milliseconds);
    return text;
}

// Prints a table of `equations`, one capped job at each setting.
void TimedTable(Tally& tally, const std::vector<std::string>& equations, const std::vector<Setting>& settings) {
    std::printf("%3s %3s", "N", "d");
    for (const Setting& setting : settings) std::printf(" %10s", setting.name);
    std::printf("  equation\n");
    for (const std::string& equation : equations) {
        const Shape shape = ShapeOf(equation);
        std::printf("%3zu %3zu", shape.species, shape.kernelDimension);
        for (const Setting& setting : settings)
            std::printf(" %s", TimeText(tally.Measure(equation, shape, setting)).c_str());
        std::printf("  %s\n", equation.c_str());
    }
}

// The nearest-rank percentile of sorted times.
double Percentile(const std::vector<double>& sorted, double share) {
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// One equation's job at one setting, with its shape for the lists.
struct TimedEquation {
    Run run;
    std::size_t species;
    std::size_t dimension;
    const std::string* equation;
};

SettingFigures FiguresOf(const std::vector<TimedEquation>& timed) {
    std::vector<double> times;
    SettingFigures figures;
    for (const TimedEquation& t : timed) {
        times.push_back(t.run.milliseconds);
        if (t.run.stopped) ++figures.stopped;
        if (t.run.stopped || t.run.milliseconds > 1000.0) ++figures.overSecond;
    }
    std::sort(times.begin(), times.end());
    const double count = static_cast<double>(times.size());
    figures.median = Percentile(times, 0.5);
    figures.percentile99 = Percentile(times, 0.99);
    figures.shareUnder50 =
        static_cast<double>(std::count_if(times.begin(), times.end(), [](double t) { return t < 50.0; })) / count;
    figures.shareWithinSecond = 1.0 - static_cast<double>(figures.overSecond) / count;
    return figures;
}

void PrintSlowestTen(const Setting& setting, std::vector<TimedEquation> timed) {
    std::sort(timed.begin(), timed.end(),
              [](const TimedEquation& a, const TimedEquation& b) { return a.run.milliseconds > b.run.milliseconds; });
    timed.resize(std::min<std::size_t>(10, timed.size()));
    std::printf("  10 slowest at (%s), ms:\n", setting.name);
    for (const TimedEquation& t : timed)
        std::printf("  %s  N %2zu  d %2zu  %s\n", TimeText(t.run).c_str(), t.species, t.dimension, t.equation->c_str());
}

}  // namespace

void Tally::AddWide(double milliseconds, const std::string& equation, bool random) {
    m_wide.Add(milliseconds, equation);
    if (!random && milliseconds > slowestOtherWide) {
        slowestOtherWide = milliseconds;
        slowestOtherWideEquation = equation;
    }
}

void Tally::AddHuge(const Run& run, const std::string& equation, std::size_t species) {
    m_huge.Add(run.milliseconds, (run.stopped ? "(stopped) " : "") + equation);
    if (species > 12) return;
    ++smallHuge;
    if (run.stopped || run.milliseconds >= 50.0) smallHugeOver50.push_back(equation);
}

void Tally::CountWidening(const std::string& equation, const Setting& setting) {
    ++searches;
    if (SearchWidens(equation, setting.limit, setting.results, kJobBudget))
        widened.push_back(std::string(setting.name) + "  " + equation);
}

Run Tally::Measure(const std::string& equation, const Shape& shape, const Setting& setting, bool random) {
    const Run run = RunJob(equation, setting.limit, setting.results, SearchEngine::Lattice, kJobBudget);
    const std::string name = setting.name;
    if (name == kWide.name) AddWide(run.milliseconds, (run.stopped ? "(stopped) " : "") + equation, random);
    if (name == kHuge.name) AddHuge(run, equation, shape.species);
    CountWidening(equation, setting);
    return run;
}

void Tally::PrintSlowest(std::size_t count) {
    std::printf("\nSlowest jobs at (64,16) over every set:\n");
    m_wide.Print(count);
    std::printf("\nSlowest jobs at (max,16) over every set (stopped: after %lld ms):\n",
                static_cast<long long>(kJobBudget.count()));
    m_huge.Print(count);
}

void LargeCountSet(Tally& tally) {
    std::printf(
        "\nLarge counts: counts of 5 to 9 digits, kernels of dimension 1 to 5 (the first fixed, %zu generated with\n"
        "planted solutions, seeded); one job each, ms, stopped after %lld ms.\n",
        LargeCountGenerated().size(), static_cast<long long>(kJobBudget.count()));
    std::vector<std::string> equations = kLargeCountEquations;
    equations.insert(equations.end(), LargeCountGenerated().begin(), LargeCountGenerated().end());
    TimedTable(tally, equations, {kWide, kHuge});
}

void MultiplesOnlySet(Tally& tally) {
    std::printf(
        "\nOnly multiples below 10^8: kernels of dimension 2 whose second record lies past 10^8; one job each, ms,\n"
        "stopped after %lld ms.\n",
        static_cast<long long>(kJobBudget.count()));
    TimedTable(tally, kMultiplesOnlyEquations, {kWide, kFarTwo, kHuge, kHugeTwo});
}

void HighDimensionSet(Tally& tally) {
    std::printf(
        "\nMany species: 12 to 24 species, kernels of dimension 6 to 12 (the first two fixed, %zu generated with\n"
        "planted solutions, seeded); one job each, ms, stopped after %lld ms.\n",
        HighDimensionGenerated().size(), static_cast<long long>(kJobBudget.count()));
    std::vector<std::string> equations = kHighDimensionEquations;
    equations.insert(equations.end(), HighDimensionGenerated().begin(), HighDimensionGenerated().end());
    TimedTable(tally, equations, {kWide, kHuge});
}

RandomSummary RandomWindowSet(Tally& tally) {
    const std::vector<std::string>& equations = RandomWindowEquations();
    const Setting settings[] = {kDefaults, kWide, kHuge};
    std::vector<TimedEquation> timed[3];
    for (const std::string& equation : equations) {
        const Shape shape = ShapeOf(equation);
        for (std::size_t s = 0; s < 3; ++s)
            timed[s].push_back(
                {tally.Measure(equation, shape, settings[s], true), shape.species, shape.kernelDimension, &equation});
    }
    std::printf(
        "\nRandom equations that fit the window: %zu (seeded), 3 to 24 species of 2 to 10 elements, at most 256 "
        "bytes,\nmost without a solution in the box; one job each, stopped after %lld ms (counted as over 1 s).\n",
        equations.size(), static_cast<long long>(kJobBudget.count()));
    const RandomSummary summary{FiguresOf(timed[0]), FiguresOf(timed[1]), FiguresOf(timed[2])};
    for (std::size_t s = 0; s < 3; ++s) {
        const SettingFigures& figures = s == 0 ? summary.defaults : s == 1 ? summary.wide : summary.huge;
        std::printf("  (%s): median %.4f ms, 99th percentile %.3f ms, %.1f%% under 50 ms, %zu over 1 s",
                    settings[s].name, figures.median, figures.percentile99, 100.0 * figures.shareUnder50,
                    figures.overSecond);
        if (s == 2)
            std::printf(", %.1f%% within 1 s, %zu did not finish", 100.0 * figures.shareWithinSecond, figures.stopped);
        std::printf("\n");
    }
    for (std::size_t s = 0; s < 3; ++s) PrintSlowestTen(settings[s], timed[s]);
    return summary;
}

std::vector<std::string> HardSetEquations() {
    std::vector<std::string> equations;
    for (const std::vector<std::string>* set : {&kLargeCountEquations, &LargeCountGenerated(), &kMultiplesOnlyEquations,
                                                &kHighDimensionEquations, &HighDimensionGenerated()})
        equations.insert(equations.end(), set->begin(), set->end());
    return equations;
}

std::vector<std::string> RandomWindowSample(std::size_t step) {
    std::vector<std::string> sample;
    const std::vector<std::string>& equations = RandomWindowEquations();
    for (std::size_t k = 0; k < equations.size(); k += step) sample.push_back(equations[k]);
    return sample;
}

}  // namespace qivara::bench
