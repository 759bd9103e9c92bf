// qivara-bench: fast and reference coefficient search through the balancing job on the headless
// window, the CLI's peak memory, the worst case and the hard sets (HardSets.h). Prints the tables and
// whether each target is met. `qivara-bench --print-sets` prints the hard and random sets instead,
// one equation a line, for timing other builds of the CLI on the same equations.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "BenchEquations.h"
#include "BenchJobs.h"
#include "HardSets.h"
#include "formula/ExtendedEquation.h"
#include "formula/FormulaParser.h"
#include "job/BalanceJob.h"
#include "job/EquationSplitter.h"
#include "job/HeadlessWindow.h"
#include "job/PreparedSearch.h"

using namespace qivara;
using namespace qivara::bench;

namespace {

// Median over `runs` jobs of a job known to finish (no timer thread).
double MedianJob(const std::string& equation, const std::string& limit, const std::string& results, SearchEngine engine,
                 int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        HeadlessWindow window(equation, limit, results);
        const auto start = Clock::now();
        BalanceJob(window, JobOptions{engine, {}, {}});
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

// Median job time, or nothing when a first run does not finish within one second.
std::optional<double> CappedMedianJob(const std::string& equation, const std::string& limit, const std::string& results,
                                      SearchEngine engine, int runs) {
    const Run first = RunJob(equation, limit, results, engine, std::chrono::milliseconds(1000));
    if (first.stopped) return std::nullopt;
    if (first.milliseconds > 50) return MedianJob(equation, limit, results, engine, 3);
    return MedianJob(equation, limit, results, engine, runs);
}

// Median time of the search alone (no parsing, no result text), in ms.
double MedianSearch(const SearchProblem& problem, SearchEngine engine, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        RunCoefficientSearch(engine, problem, {});
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

// Peak resident memory in KiB of one CLI run over `equations`, each stopped after 1 s (status 3).
std::optional<long> CliPeakMemory(const std::vector<std::string>& equations) {
    const std::filesystem::path cli =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qivara-balancer-cli";
    std::vector<std::string> arguments{cli.string(), "--limit", "64",        "--results", "16",
                                       "--engine",   "fast",    "--timeout", "1"};
    arguments.insert(arguments.end(), equations.begin(), equations.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 3) return std::nullopt;
    return usage.ru_maxrss;
}

const char* Verdict(bool met) { return met ? "MET" : "NOT MET"; }

}  // namespace

// At limit 2147483647 with result limit 16, equations of up to 12 species with kernels of
// dimension up to 4 must answer within 50 ms.
// Milliseconds for `rounds` passes over `equations`, the median of five runs. `parse` returns
// whether it read the equation, so the work cannot be dropped.
template <typename Parse>
double MedianParse(const std::vector<std::string>& equations, int rounds, Parse parse) {
    std::vector<double> runs;
    std::size_t read = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        for (int round = 0; round < rounds; ++round) {
            for (const std::string& equation : equations) read += parse(equation) ? 1 : 0;
        }
        runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    if (read == 0) std::printf("  (no equation was read)\n");
    return runs[2];
}

// The program's own parser: splitting and every formula parsed, as the job does before the
// element check.
bool StandardParse(const std::string& equation) {
    JobData job;
    if (!SplitEquation(equation, job)) return false;
    for (List<Species>* side : {&job.ReactantList, &job.ProductList}) {
        for (Species& species : side->Items()) {
            if (!ParseFormula(species)) return false;
        }
    }
    return true;
}

bool ExtendedParse(const std::string& equation) {
    return std::holds_alternative<ExtendedEquation>(ParseExtendedEquation(equation));
}

bool HugeLimitTargetApplies(const Shape& shape) { return shape.species <= 12 && shape.kernelDimension <= 4; }

// The real set's median job at (64,16) before the engine took on large counts, long runs of
// multiples and kernels of dimension 6 to 12: this bench at 92b3980 on the 2-core development
// machine. The target allows it 10% of timer noise.
constexpr double kRealMedianBefore = 0.0121;

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--print-sets") {
        for (const std::vector<std::string>& set : {HardSetEquations(), RandomWindowSample(1)})
            for (const std::string& equation : set) std::printf("%s\n", equation.c_str());
        return 0;
    }
    constexpr int kRuns = 21;
    std::printf(
        "Jobs on the headless window, times in ms: median of %d runs (3 when a run takes over 50 ms);\n"
        "the reference is abandoned when a run takes over 1 s. ratio = reference / fast at the defaults\n"
        "(16, 1), for the whole job and for the search alone. fastMax,16: one job at limit 2147483647.\n\n",
        kRuns);
    std::printf("%-58s %2s %2s %9s %9s %10s %8s %8s %10s\n", "equation", "N", "d", "fast16,1", "fast64,16", "ref16,1",
                "ratio", "search", "fastMax,16");
    std::vector<double> atMaxima;
    Tally tally;
    bool under1 = true;
    bool ratioMet = true;
    bool hugeWithin50 = true;
    bool largeLimitsFinish = true;
    std::vector<std::string> ratioMisses;
    const auto checkHuge = [&](const std::string& equation, const Shape& shape, const Run& huge) {
        tally.AddHuge(huge, equation, shape.species);
        tally.CountWidening(equation, kHuge);
        largeLimitsFinish = largeLimitsFinish && !huge.stopped;
        if (HugeLimitTargetApplies(shape)) hugeWithin50 = hugeWithin50 && !huge.stopped && huge.milliseconds < 50.0;
    };
    for (const std::string& equation : bench::kRealEquations) {
        const Shape shape = ShapeOf(equation);
        const double fastDefault = MedianJob(equation, "16", "1", SearchEngine::Lattice, kRuns);
        const double fastMaxima = MedianJob(equation, "64", "16", SearchEngine::Lattice, kRuns);
        const std::optional<double> reference = CappedMedianJob(equation, "16", "1", SearchEngine::Reference, kRuns);
        const Run huge = RunJob(equation, kMaxLimit, "16", SearchEngine::Lattice, std::chrono::milliseconds(1000));
        atMaxima.push_back(fastMaxima);
        tally.AddWide(fastMaxima, equation, false);
        tally.CountWidening(equation, kDefaults);
        tally.CountWidening(equation, kWide);
        under1 = under1 && fastMaxima < 1.0;
        checkHuge(equation, shape, huge);
        char referenceText[32] = "     >1000";
        char ratioText[32] = "-";
        char searchRatioText[32] = "-";
        if (reference) {
            const double ratio = *reference / fastDefault;
            const int searchRuns = *reference > 50 ? 3 : kRuns;
            const double searchRatio = MedianSearch(shape.defaults, SearchEngine::Reference, searchRuns) /
                                       MedianSearch(shape.defaults, SearchEngine::Lattice, kRuns);
            std::snprintf(referenceText, sizeof referenceText, "%10.4f", *reference);
            std::snprintf(ratioText, sizeof ratioText, "%8.0f", ratio);
            std::snprintf(searchRatioText, sizeof searchRatioText, "%8.0f", searchRatio);
            if (shape.species >= 5 && ratio < 1000) {
                ratioMet = false;
                ratioMisses.push_back(equation);
            }
        }
        char hugeText[32];
        std::snprintf(hugeText, sizeof hugeText, huge.stopped ? "stalled" : "%10.3f", huge.milliseconds);
        std::printf("%-58s %2zu %2zu %9.4f %9.4f %10s %8s %8s %10s\n", equation.c_str(), shape.species,
                    shape.kernelDimension, fastDefault, fastMaxima, referenceText, ratioText, searchRatioText,
                    hugeText);
    }
    std::sort(atMaxima.begin(), atMaxima.end());
    const double median = atMaxima[atMaxima.size() / 2];

    std::printf("\nWorst case: kernel dimension 3 and more (times in ms; reference abandoned after 1 s).\n");
    std::printf("%-52s %3s %3s %8s %10s %10s\n", "equation", "N", "d", "limits", "fast", "reference");
    bool neverSlower = true;
    bool stopsPromptly = true;
    for (const std::string& equation : bench::kWorstCaseEquations) {
        const Shape shape = ShapeOf(equation);
        for (const auto& [limit, results] :
             std::vector<std::pair<std::string, std::string>>{{"16", "1"}, {"16", "16"}, {"64", "16"}}) {
            const std::optional<double> fast = CappedMedianJob(equation, limit, results, SearchEngine::Lattice, kRuns);
            const std::optional<double> reference =
                CappedMedianJob(equation, limit, results, SearchEngine::Reference, kRuns);
            // Where the answer lies in the first few hundred vectors both engines run the same
            // literal enumeration; 5% covers the timer noise of such few-microsecond jobs.
            if (!fast || (reference && *fast > *reference * 1.05)) neverSlower = false;
            tally.CountWidening(equation, Setting{"", limit.c_str(), results.c_str()});
            if (limit == "64") {
                tally.AddWide(fast.value_or(1000.0), equation, false);
                under1 = under1 && fast && *fast < 1.0;
            }
            char referenceText[32] = "     >1000";
            if (reference) std::snprintf(referenceText, sizeof referenceText, "%10.4f", *reference);
            char fastText[32] = "     >1000";
            if (fast) std::snprintf(fastText, sizeof fastText, "%10.4f", *fast);
            std::printf("%-52s %3zu %3zu %8s %10s %10s\n", equation.c_str(), shape.species, shape.kernelDimension,
                        (limit + "," + results).c_str(), fastText, referenceText);
        }
        const Run huge = RunJob(equation, kMaxLimit, "16", SearchEngine::Lattice, std::chrono::milliseconds(1000));
        checkHuge(equation, shape, huge);
        std::printf("%-52s %3zu %3zu %8s %10s\n", equation.c_str(), shape.species, shape.kernelDimension, "max,16",
                    huge.stopped ? "stalled" : std::to_string(huge.milliseconds).c_str());
        // Stop latency at the largest limits: request a stop 100 ms in, time until the job returns.
        HeadlessWindow window(equation, kMaxLimit, kMaxLimit);
        std::stop_source stop;
        Clock::time_point requested{};
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            const auto deadline = Clock::now() + std::chrono::milliseconds(100);
            while (!done.load() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            requested = Clock::now();
            stop.request_stop();
        });
        const JobOutcome outcome = BalanceJob(window, JobOptions{SearchEngine::Lattice, stop.get_token(), {}});
        const auto returned = Clock::now();
        done = true;
        stopper.join();
        const double latency = std::chrono::duration<double, std::milli>(returned - requested).count();
        const bool wasStopped = outcome.kind == FinishKind::Stopped;
        if (wasStopped && latency > 50.0) stopsPromptly = false;
        std::printf(
            "%-52s %3zu %3zu %8s stop at max limits: %s\n", equation.c_str(), shape.species, shape.kernelDimension,
            "max,max",
            wasStopped ? (std::to_string(latency) + " ms after the request").c_str() : "finished before the request");
    }

    // Generated equations with planted solutions: 6 to 12 species, kernels of dimension 3 to 5.
    constexpr std::size_t kGenerated = 300;
    std::mt19937 random(20261209);
    std::vector<double> generatedTimes, generatedHuge;
    std::pair<double, std::string> slowestHuge{0.0, ""};
    while (generatedTimes.size() < kGenerated) {
        const int species = std::uniform_int_distribution<int>(6, 12)(random);
        const int elements = std::max(1, species - std::uniform_int_distribution<int>(3, 5)(random));
        const std::string equation = bench::PlantedEquation(random, species, std::min(elements, 9));
        if (equation.empty() || !std::holds_alternative<PreparedSearch>(PrepareSearch(equation, "16", "1"))) continue;
        const Shape shape = ShapeOf(equation);
        if (shape.kernelDimension < 3 || shape.kernelDimension > 5) continue;
        const std::optional<double> fast = CappedMedianJob(equation, "64", "16", SearchEngine::Lattice, 5);
        generatedTimes.push_back(fast.value_or(1000.0));
        tally.AddWide(fast.value_or(1000.0), equation, false);
        tally.CountWidening(equation, kWide);
        under1 = under1 && fast && *fast < 1.0;
        const Run huge = RunJob(equation, kMaxLimit, "16", SearchEngine::Lattice, std::chrono::milliseconds(1000));
        checkHuge(equation, shape, huge);
        const double hugeTime = huge.stopped ? 1000.0 : huge.milliseconds;
        generatedHuge.push_back(hugeTime);
        if (hugeTime > slowestHuge.first) slowestHuge = {hugeTime, equation};
    }
    std::sort(generatedTimes.begin(), generatedTimes.end());
    std::sort(generatedHuge.begin(), generatedHuge.end());
    std::printf(
        "\nGenerated: %zu equations of 6 to 12 species, kernel dimension 3 to 5 (seeded, planted solutions)\n"
        "  (64,16): median %.4f ms, slowest %.4f ms, %td over 1 ms\n"
        "  (max,16): median %.4f ms, slowest %.4f ms: %s\n",
        kGenerated, generatedTimes[kGenerated / 2], generatedTimes.back(),
        std::count_if(generatedTimes.begin(), generatedTimes.end(), [](double ms) { return ms >= 1.0; }),
        generatedHuge[kGenerated / 2], generatedHuge.back(), slowestHuge.second.c_str());

    LargeCountSet(tally);
    MultiplesOnlySet(tally);
    HighDimensionSet(tally);
    const RandomSummary randomSet = RandomWindowSet(tally);

    tally.PrintSlowest(10);
    std::printf(
        "\nSearches that went past 128 bits (SearchResult::widened; the walk reruns in wide integers, the engine has\n"
        "no literal fallback): %zu of %zu searches over every set and setting\n",
        tally.widened.size(), tally.searches);
    for (const std::string& widened : tally.widened) std::printf("  %s\n", widened.c_str());

    // The real set, the worst case, the hard sets and every fifth random equation; --timeout 1
    // ends an equation that runs longer (status 3).
    std::vector<std::string> cliEquations = bench::kRealEquations;
    for (const std::vector<std::string>& more : {bench::kWorstCaseEquations, HardSetEquations(), RandomWindowSample(5)})
        cliEquations.insert(cliEquations.end(), more.begin(), more.end());
    const std::optional<long> peak = CliPeakMemory(cliEquations);
    std::printf(
        "\nCLI peak resident memory over %zu equations of every set (the random set sampled) at --limit 64 --results "
        "16\n"
        "--timeout 1: ",
        cliEquations.size());
    if (peak) {
        std::printf("%.1f MiB\n", static_cast<double>(*peak) / 1024.0);
    } else {
        std::printf("not measured (CLI did not run)\n");
    }

    // The real set is ASCII: the same bytes are code page 936 and UTF-8.
    constexpr int kParseRounds = 2000;
    const double standardParse = MedianParse(bench::kRealEquations, kParseRounds, StandardParse);
    const double extendedParse = MedianParse(bench::kRealEquations, kParseRounds, ExtendedParse);
    const auto prepare = [](FormulaSyntax syntax) {
        return [syntax](const std::string& equation) {
            return std::holds_alternative<PreparedSearch>(PrepareSearch(equation, "16", "1", syntax));
        };
    };
    const double standardPrepare = MedianParse(bench::kRealEquations, kParseRounds, prepare(FormulaSyntax::Standard));
    const double extendedPrepare = MedianParse(bench::kRealEquations, kParseRounds, prepare(FormulaSyntax::Extended));
    const double perEquation = 1000.0 / (kParseRounds * static_cast<double>(bench::kRealEquations.size()));
    std::printf(
        "\nParsers on the real set (%zu equations, microseconds per equation, median of 5 runs of %d rounds):\n"
        "  parse only (split + formulas):  own %.3f, extended %.3f, ratio %.2f\n"
        "  whole preparation (PrepareSearch): own %.3f, extended %.3f, ratio %.2f\n",
        bench::kRealEquations.size(), kParseRounds, standardParse * perEquation, extendedParse * perEquation,
        extendedParse / standardParse, standardPrepare * perEquation, extendedPrepare * perEquation,
        extendedPrepare / standardPrepare);

    std::printf("\nTargets\n");
    std::printf("  every equation at (64,16) under 1 ms (fast): %s\n", Verdict(under1));
    std::printf("  median of the real equations at (64,16) under 0.5 ms: %.4f ms, %s\n", median, Verdict(median < 0.5));
    std::printf("  fast >= 1000x reference on every equation of 5+ species where the reference finishes: %s\n",
                Verdict(ratioMet));
    for (const std::string& miss : ratioMisses) std::printf("    below 1000x: %s\n", miss.c_str());
    std::printf("  CLI peak memory under 20 MB: %s\n", Verdict(peak && *peak * 1024 < 20'000'000));
    std::printf("  worst case: fast never slower than the reference (5%% timer tolerance): %s\n", Verdict(neverSlower));
    std::printf("  worst case: stop within 50 ms of the request: %s\n", Verdict(stopsPromptly));
    std::printf("  at limit 2147483647, results 16: every equation of 12 or fewer species, d <= 4, within 50 ms: %s\n",
                Verdict(hugeWithin50));
    std::printf("  (extra) every equation finishes at limit 2147483647, results 16: %s\n", Verdict(largeLimitsFinish));
    std::printf("  extended parser at most twice the own parser on the real set: %.2fx, %s\n",
                extendedParse / standardParse, Verdict(extendedParse <= 2 * standardParse));
    for (const auto& [name, figures] : {std::pair{"16,1", randomSet.defaults}, std::pair{"64,16", randomSet.wide}}) {
        std::printf(
            "  random equations that fit the window at (%s): none over 1 s, 99%% under 50 ms: %zu over 1 s, "
            "%.1f%% under 50 ms, %s\n",
            name, figures.overSecond, 100.0 * figures.shareUnder50,
            Verdict(figures.overSecond == 0 && figures.shareUnder50 >= 0.99));
    }
    std::printf(
        "  at (64,16): every other equation of the bench under 5 ms (the worst case included): slowest %.3f ms, %s\n",
        tally.slowestOtherWide, Verdict(tally.slowestOtherWide < 5.0));
    if (tally.slowestOtherWide >= 5.0) std::printf("    slowest: %s\n", tally.slowestOtherWideEquation.c_str());
    std::printf("  at (64,16): the real set's median not slower than before (%.4f ms, 10%% tolerance): %.4f ms, %s\n",
                kRealMedianBefore, median, Verdict(median <= kRealMedianBefore * 1.1));
    std::printf("  at (2147483647,16): every equation of up to 12 species within 50 ms: %zu of %zu over, %s\n",
                tally.smallHugeOver50.size(), tally.smallHuge, Verdict(tally.smallHugeOver50.empty()));
    for (std::size_t k = 0; k < std::min<std::size_t>(10, tally.smallHugeOver50.size()); ++k)
        std::printf("    over 50 ms: %s\n", tally.smallHugeOver50[k].c_str());
    if (tally.smallHugeOver50.size() > 10) std::printf("    (and %zu more)\n", tally.smallHugeOver50.size() - 10);
    std::printf(
        "  at (2147483647,16): 95%% of the random equations within 1 s: %.1f%%, %zu did not finish within 1 s "
        "(--timeout bounds them), %s\n",
        100.0 * randomSet.huge.shareWithinSecond, randomSet.huge.stopped,
        Verdict(randomSet.huge.shareWithinSecond >= 0.95));
    std::printf(
        "  none falls back to the literal enumeration: the engine has no such path; %zu of %zu searches went wide "
        "instead (listed above)\n",
        tally.widened.size(), tally.searches);
    return 0;
}
