#pragma once
// The bench's hard sets: large counts, dimension-2 kernels with only multiples for a long way,
// many species with kernels of dimension 6 to 12, and random equations that fit the window.
// Every job is capped, so a stalling engine costs its budget and is counted, never waited for.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "BenchJobs.h"

namespace qivara::bench {

// Every job of the hard sets and of the random set stops after this.
inline constexpr std::chrono::milliseconds kJobBudget{1000};

// A coefficient limit and a result limit, as the window's boxes hold them.
struct Setting {
    const char* name;
    const char* limit;
    const char* results;
};

inline constexpr Setting kDefaults{"16,1", "16", "1"};
inline constexpr Setting kWide{"64,16", "64", "16"};
inline constexpr Setting kHuge{"max,16", kMaxLimit, "16"};
inline constexpr Setting kHugeTwo{"max,2", kMaxLimit, "2"};
inline constexpr Setting kFarTwo{"1e8,2", "100000000", "2"};

// What every set adds to across the bench: the slowest jobs at (64,16) and (max,16), the targets
// that span sets, and the searches that went past 128 bits.
class Tally {
public:
    // A job at (64,16); `random` for the random set, which has targets of its own.
    void AddWide(double milliseconds, const std::string& equation, bool random);
    // A job at (max,16) of an equation of `species` species.
    void AddHuge(const Run& run, const std::string& equation, std::size_t species);
    // Runs the search of `equation` at `setting` once more, capped, and counts whether it widened.
    void CountWidening(const std::string& equation, const Setting& setting);

    // One capped job at `setting`, added to the lists above where the setting is theirs, and
    // its search counted by CountWidening.
    Run Measure(const std::string& equation, const Shape& shape, const Setting& setting, bool random = false);

    void PrintSlowest(std::size_t count);

    // At (64,16), over every set but the random one.
    double slowestOtherWide = 0;
    std::string slowestOtherWideEquation;
    // At (max,16), the equations of up to 12 species.
    std::size_t smallHuge = 0;
    std::vector<std::string> smallHugeOver50;
    std::size_t searches = 0;
    std::vector<std::string> widened;  // "setting  equation"

private:
    Slowest m_wide;
    Slowest m_huge;
};

// One setting's figures over the random set.
struct SettingFigures {
    double median = 0;        // ms
    double percentile99 = 0;  // ms, nearest rank
    double shareUnder50 = 0;  // of the equations, under 50 ms
    double shareWithinSecond = 0;
    std::size_t overSecond = 0;  // stopped after the budget, or over 1 s
    std::size_t stopped = 0;     // did not finish
};

// What the random set's targets read: at (16,1), (64,16) and (max,16).
struct RandomSummary {
    SettingFigures defaults;
    SettingFigures wide;
    SettingFigures huge;
};

// Each set prints its table.
void LargeCountSet(Tally& tally);
void MultiplesOnlySet(Tally& tally);
void HighDimensionSet(Tally& tally);
RandomSummary RandomWindowSet(Tally& tally);

// Every equation of the hard sets (the random set aside), for the CLI's memory run.
std::vector<std::string> HardSetEquations();
// Every `step`-th equation of the random set.
std::vector<std::string> RandomWindowSample(std::size_t step);

}  // namespace qivara::bench
