#include <gtest/gtest.h>

#include <limits>

#include "EngineTestSupport.h"
#include "TableRows.h"
#include "search/ReferenceSearch.h"

namespace qivara::test {
namespace {

struct Trace {
    Vectors examined;
    SearchResult result;
};

Trace Examine(const SearchProblem& problem) {
    Trace trace;
    SearchControl control;
    control.onExamined = [&](const CoefficientVector& c) { trace.examined.push_back(c); };
    trace.result = ReferenceSearch(problem, control);
    return trace;
}

TEST(ReferenceSearchOrder, HydrogenAndOxygenAtLimit3) {
    // With a result limit of 2 or more the enumeration runs to its end.
    const Trace trace = Examine(ProblemFor("H2+O2=H2O", 3, 16));
    const Vectors expected{{1, 1, 1}, {1, 1, 2}, {2, 1, 2}, {3, 1, 2}, {1, 2, 2}, {2, 2, 2}, {1, 3, 2}, {1, 1, 3},
                           {2, 1, 3}, {3, 1, 3}, {1, 2, 3}, {2, 2, 3}, {3, 2, 3}, {1, 3, 3}, {2, 3, 3}};
    EXPECT_EQ(trace.examined, expected);
    EXPECT_EQ(trace.result.solutions, (Vectors{{2, 1, 2}}));
}

TEST(ReferenceSearchOrder, DefaultResultLimitStopsRightAfterTheFirstRecord) {
    const Trace trace = Examine(ProblemFor("H2+O2=H2O", 3, 1));
    EXPECT_EQ(trace.examined, (Vectors{{1, 1, 1}, {1, 1, 2}, {2, 1, 2}}));
    EXPECT_EQ(trace.result.solutions, (Vectors{{2, 1, 2}}));
}

TEST(ReferenceSearchOrder, MultipleOfARecordIsExaminedAndRejected) {
    const Trace trace = Examine(ProblemFor("H2+O2=H2O", 5, 16));
    EXPECT_NE(std::find(trace.examined.begin(), trace.examined.end(), CoefficientVector{4, 2, 4}),
              trace.examined.end());
    EXPECT_EQ(trace.result.solutions, (Vectors{{2, 1, 2}}));
}

TEST(ReferenceSearchOrder, NoSolutionExaminesTwentyOfTwentyFiveVectors) {
    const Trace trace = Examine(ProblemFor("H2O=H2O2", 5, 1));
    EXPECT_EQ(trace.examined.size(), 20u);
    for (const CoefficientVector& skipped : Vectors{{3, 1}, {4, 1}, {5, 1}, {4, 2}, {5, 2}}) {
        EXPECT_EQ(std::find(trace.examined.begin(), trace.examined.end(), skipped), trace.examined.end());
    }
    EXPECT_TRUE(trace.result.solutions.empty());
}

TEST(ReferenceSearchOrder, ResultLimitZeroEndsAtFirstZeroBalance) {
    const Trace trace = Examine(ProblemFor("H2O=H2O2", 5, 0));
    EXPECT_EQ(trace.examined.back(), (CoefficientVector{4, 3}));
    EXPECT_TRUE(trace.result.solutions.empty());
}

// The species' order matters when the result limit is 0 or less: the first vector whose atom
// totals balance is recorded only if it conserves every element.
TEST(ReferenceSearchOrder, ResultLimitZeroDependsOnSpeciesOrder) {
    EXPECT_EQ(Examine(ProblemFor("H2+O2=H2O", 16, 0)).result.solutions, (Vectors{{2, 1, 2}}));
    EXPECT_TRUE(Examine(ProblemFor("O2+H2=H2O", 16, 0)).result.solutions.empty());
    EXPECT_EQ(Examine(ProblemFor("H2+O2=H2O", 16, -1)).result.solutions, (Vectors{{2, 1, 2}}));
}

TEST(ReferenceSearchOrder, LimitOneOrLessExaminesOnlyAllOnes) {
    for (std::int32_t limit : {1, 0, -5, std::numeric_limits<std::int32_t>::min()}) {
        const Trace trace = Examine(ProblemFor("H2+O2=H2O", limit, 1));
        EXPECT_EQ(trace.examined, (Vectors{{1, 1, 1}})) << limit;
        EXPECT_TRUE(trace.result.solutions.empty());
    }
    // All ones balanced: recorded even below limit 1.
    EXPECT_EQ(Examine(ProblemFor("H2=H2", 0, 1)).result.solutions, (Vectors{{1, 1}}));
}

struct SolutionCase {
    const char* name;
    std::string equation;
    std::int32_t limit;
    std::int32_t resultLimit;
    Vectors expected;
};

class ReferenceSolutions : public testing::TestWithParam<SolutionCase> {};

TEST_P(ReferenceSolutions, RecordsExactly) {
    const SolutionCase& c = GetParam();
    EXPECT_EQ(ReferenceSearch(ProblemFor(c.equation, c.limit, c.resultLimit), {}).solutions, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReferenceSolutions,
    testing::Values(SolutionCase{"OrderDoesNotHideSolution", "O2+H2=H2O", 2, 1, {{1, 2, 2}}},
                    SolutionCase{"Ozone", "O2=O3", 3, 1, {{3, 2}}},
                    SolutionCase{"CopperAndNitricAcidAtLimit", "Cu+HNO3=Cu(NO3)2+NO+H2O", 8, 1, {{3, 8, 3, 2, 4}}},
                    SolutionCase{"TwoIndependentAtLimit8", "H2+O2=H2O+H2O2", 8, 10, {{3, 2, 2, 1}, {8, 5, 6, 2}}},
                    SolutionCase{"TwoIndependentAtLimit7", "H2+O2=H2O+H2O2", 7, 10, {{3, 2, 2, 1}, {7, 5, 4, 3}}},
                    SolutionCase{"TwoIndependentAtLimit6", "H2+O2=H2O+H2O2", 6, 10, {{3, 2, 2, 1}}},
                    SolutionCase{"TwoIndependentResultLimit1", "H2+O2=H2O+H2O2", 8, 1, {{3, 2, 2, 1}}},
                    SolutionCase{
                        "ZeroCountsEverythingBalances", "H0=H0", 5, 16, {{1, 1}, {3, 2}, {2, 3}, {5, 4}, {4, 5}}},
                    SolutionCase{"ZeroCountForcesNothing", "H2+O0=H2+O2", 16, 16, {}},
                    SolutionCase{"Default", "MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O", 16, 1, {{1, 2, 3, 1, 2, 1, 2}}}),
    RowName());

TEST(ReferenceSearch, BelowTheResultLimitTheEnumerationRunsToItsEnd) {
    // H2+O2=H2O+H2O2 at limit 8 records 2 of 10: the last vector examined has both products at 8.
    const Trace trace = Examine(ProblemFor("H2+O2=H2O+H2O2", 8, 10));
    EXPECT_EQ(trace.result.solutions.size(), 2u);
    EXPECT_EQ(trace.examined.back()[2], 8);
    EXPECT_EQ(trace.examined.back()[3], 8);
}

TEST(ReferenceSearch, StopRequestEndsBetweenTwoVectors) {
    std::stop_source source;
    SearchControl control;
    std::size_t seen = 0;
    control.stop = source.get_token();
    control.onExamined = [&](const CoefficientVector&) {
        if (++seen == 100) source.request_stop();
    };
    const SearchResult result = ReferenceSearch(ProblemFor("MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O", 16, 1), control);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(seen, 100u);
    EXPECT_TRUE(result.solutions.empty());
}

TEST(ReferenceSearch, HugeCountsAndLimitsAreExact) {
    // The atom totals times the limit pass 64 bits; the first zero balance is (1,1,1,3).
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const Trace trace = Examine(ProblemFor("H2147483647+H2147483647+H2147483647=H2147483647", max, 0));
    EXPECT_EQ(trace.examined, (Vectors{{1, 1, 1, 1}, {1, 1, 1, 2}, {1, 1, 1, 3}}));
    EXPECT_EQ(trace.result.solutions, (Vectors{{1, 1, 1, 3}}));
}

TEST(AtomBalance, ExactBeyond64Bits) {
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const SearchProblem problem = ProblemFor("H2147483647+H2147483647+H2147483647+H2147483647=H", 1, 1);
    const __int128 balance = AtomBalance(problem, {max, max, max, max, 1});
    EXPECT_EQ(balance, static_cast<__int128>(max) * max * 4 - 1);
    EXPECT_GT(balance, static_cast<__int128>(std::numeric_limits<std::int64_t>::max()));
}

TEST(CommonDivisor, Cases) {
    EXPECT_EQ(CommonDivisor({4, 2, 4}), 2);
    EXPECT_EQ(CommonDivisor({8, 5, 6, 2}), 1);
    EXPECT_EQ(CommonDivisor({6, 4, 4, 2}), 2);
    EXPECT_EQ(CommonDivisor({9, 9}), 9);
    EXPECT_EQ(CommonDivisor({1}), 1);
}

}  // namespace
}  // namespace qivara::test
