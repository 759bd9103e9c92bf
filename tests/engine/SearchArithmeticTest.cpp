// The pure arithmetic the lattice walk trusts, one table per rule: exact division and gcd at every
// sign and at the 128-bit edges, the cocircuits' defining properties, the last-level jump
// against trying every value, and the linear relaxation's answers with the multipliers behind them.

#include <gtest/gtest.h>

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "search/CheckedInt.h"
#include "search/Cocircuits.h"
#include "search/IntegerKernel.h"
#include "search/LastLevelJump.h"
#include "search/LinearRelaxation.h"

using qivara::exact::Int;

namespace qivara::test {
namespace {

constexpr Int kTwo64 = static_cast<Int>(1) << 64;
constexpr Int kTwo63 = static_cast<Int>(1) << 63;
constexpr Int kHuge = (static_cast<Int>(1) << 70) + 1;
constexpr Int kFar = 1000000000;  // an end of a bound that never binds

struct DivisionCase {
    const char* name;
    Int a, b, floor, ceil, quotient;
};

TEST(CheckedInt, DivisionRoundsExactlyAtEverySign) {
    const DivisionCase cases[] = {
        {"PositiveByPositive", 7, 2, 3, 4, 3},
        {"NegativeByPositive", -7, 2, -4, -3, -3},
        {"PositiveByNegative", 7, -2, -4, -3, -3},
        {"NegativeByNegative", -7, -2, 3, 4, 3},
        {"ExactNegative", -6, 3, -2, -2, -2},
        {"ZeroByPositive", 0, 5, 0, 0, 0},
        {"ZeroByNegative", 0, -5, 0, 0, 0},
        {"SmallerThanDivisor", -1, 5, -1, 0, 0},
        {"ByMinusOne", 9, -1, -9, -9, -9},
        // 2^63 / -1 leaves 64 bits: the 128-bit path must answer.
        {"Int64MinByMinusOne", -kTwo63, -1, kTwo63, kTwo63, kTwo63},
        {"Past64BitsNegative", -(kTwo64 + 1), 2, -(kTwo63 + 1), -kTwo63, -kTwo63},
        {"Past64BitsByNegative", kTwo64 + 1, -kTwo64, -2, -1, -1},
        {"Int128MaxByTwo", exact::kIntMax, 2, exact::kIntMax / 2, exact::kIntMax / 2 + 1, exact::kIntMax / 2},
        {"Int128MinByTwo", exact::kIntMin, 2, exact::kIntMin / 2, exact::kIntMin / 2, exact::kIntMin / 2},
        {"Int128MinByMax", exact::kIntMin, exact::kIntMax, -2, -1, -1},
        {"Int128MaxByMinusOne", exact::kIntMax, -1, -exact::kIntMax, -exact::kIntMax, -exact::kIntMax},
    };
    for (const DivisionCase& c : cases) {
        EXPECT_TRUE(exact::FloorDiv(c.a, c.b) == c.floor) << c.name;
        EXPECT_TRUE(exact::CeilDiv(c.a, c.b) == c.ceil) << c.name;
        EXPECT_TRUE(exact::Quotient(c.a, c.b) == c.quotient) << c.name;
    }
    // The one quotient that does not fit 128 bits throws instead of wrapping.
    EXPECT_THROW(exact::FloorDiv(exact::kIntMin, -1), exact::ArithmeticOverflow);
    EXPECT_THROW(exact::CeilDiv(exact::kIntMin, -1), exact::ArithmeticOverflow);
}

struct GcdCase {
    const char* name;
    Int a, b, gcd;
};

TEST(CheckedInt, GcdOfMagnitudes) {
    const GcdCase cases[] = {
        {"BothZero", 0, 0, 0},
        {"ZeroAndNegative", 0, -5, 5},
        {"MixedSigns", -12, 18, 6},
        {"BothNegative", -12, -18, 6},
        {"Coprime", 35, 64, 1},
        {"Int64MinNeeds128Bits", -kTwo63, 6, 2},
        {"PowersPast64Bits", kTwo64, kTwo63, kTwo63},
        {"Int128MaxAndNeighbour", exact::kIntMax, exact::kIntMax - 1, 1},
        {"Int128MaxWithItself", exact::kIntMax, -exact::kIntMax, exact::kIntMax},
    };
    for (const GcdCase& c : cases) EXPECT_TRUE(exact::Gcd(c.a, c.b) == c.gcd) << c.name;
    EXPECT_THROW(exact::Gcd(exact::kIntMin, 0), exact::ArithmeticOverflow);  // |kIntMin| is 2^127
}

TEST(CheckedInt, ProductsPastEitherWidth) {
    EXPECT_TRUE(exact::Mul(-kTwo63, -1) == kTwo63);  // both fit 64 bits, the product does not
    EXPECT_TRUE(exact::Mul(kTwo63, kTwo63) == static_cast<Int>(1) << 126);
    EXPECT_THROW(exact::Mul(kTwo64, kTwo63), exact::ArithmeticOverflow);
    EXPECT_THROW(exact::Add(exact::kIntMax, 1), exact::ArithmeticOverflow);
    EXPECT_THROW(exact::Sub(exact::kIntMin, 1), exact::ArithmeticOverflow);
}

// Rank of the columns `support` of the basis vectors, by fraction-free elimination.
std::size_t Rank(const KernelBasis& basis, const std::vector<std::size_t>& support) {
    std::vector<IntegerRow> m;
    for (const IntegerRow& b : basis.vectors) {
        IntegerRow row;
        for (std::size_t i : support) row.push_back(b[i]);
        m.push_back(row);
    }
    std::size_t rank = 0;
    for (std::size_t c = 0; c < support.size() && rank < m.size(); ++c) {
        std::size_t p = rank;
        while (p < m.size() && m[p][c] == 0) ++p;
        if (p == m.size()) continue;
        std::swap(m[p], m[rank]);
        for (std::size_t r = rank + 1; r < m.size(); ++r) {
            const Int f = m[r][c];
            for (std::size_t k = 0; k < support.size(); ++k) m[r][k] = m[r][k] * m[rank][c] - f * m[rank][k];
        }
        ++rank;
    }
    return rank;
}

struct CocircuitCase {
    const char* name;
    std::vector<IntegerRow> rows;  // the matrix whose kernel is taken
    std::size_t columns;
    bool expectSome;
};

TEST(Cocircuits, OrthogonalMinimalPrimitive) {
    const CocircuitCase cases[] = {
        {"OneRowFiveColumns", {{2, 4, 6, -8, -10}}, 5, true},
        {"TwoRowsSixColumns", {{1, 0, 2, -1, -3, 0}, {0, 2, 1, -2, 0, -1}}, 6, true},
        {"ZeroColumnInside", {{1, 0, 1, -1, -1}}, 5, true},
        {"DimensionTwoGetsNone", {{1, 1, -2, -1}, {0, 1, -1, 0}}, 4, false},
    };
    for (const CocircuitCase& c : cases) {
        const KernelBasis basis = IntegerKernel(c.rows, c.columns);
        const std::vector<IntegerRow> found = Cocircuits(basis, 16);
        EXPECT_EQ(!found.empty(), c.expectSome) << c.name;
        for (std::size_t f = 0; f < found.size(); ++f) {
            const IntegerRow& u = found[f];
            std::vector<std::size_t> support;
            Int common = 0;
            for (std::size_t i = 0; i < u.size(); ++i) {
                if (u[i] != 0) support.push_back(i);
                common = exact::Gcd(common, u[i]);
            }
            for (const IntegerRow& b : basis.vectors) {
                Int dot = 0;
                for (std::size_t i = 0; i < u.size(); ++i) dot += u[i] * b[i];
                EXPECT_TRUE(dot == 0) << c.name << " relation " << f << " is not orthogonal to the kernel";
            }
            ASSERT_FALSE(support.empty()) << c.name;
            EXPECT_LE(support.size(), basis.Dimension() + 1) << c.name;
            // Minimal support: the kernel's columns there have exactly one relation among them.
            EXPECT_EQ(Rank(basis, support), support.size() - 1) << c.name << " relation " << f;
            EXPECT_TRUE(common == 1) << c.name << " relation " << f << " is not primitive";
            EXPECT_GT(u[support.front()], 0) << c.name;
            for (std::size_t g = 0; g < f; ++g) EXPECT_NE(found[g], u) << c.name << " repeats a relation";
        }
    }
}

struct JumpCase {
    const char* name;
    std::vector<walk::PairBound> bounds;  // each lower <= alpha t + beta s <= upper
    Int from, hi;
    std::optional<Int> expected;
};

// Whether some s satisfies every bound at t, by trying every s in a window wide enough here.
bool CompletableByTrial(const std::vector<walk::PairBound>& bounds, Int t) {
    for (Int s = -200; s <= 200; ++s) {
        bool all = true;
        for (const walk::PairBound& b : bounds) {
            const Int v = b.alpha * t + b.beta * s;
            all = all && v >= b.lower && v <= b.upper;
        }
        if (all) return true;
    }
    return false;
}

TEST(LastLevelJump, NextCompletableAgainstTrial) {
    using walk::MakePairBound;
    const JumpCase cases[] = {
        // t = 2s: only even t.
        {"Parity", {MakePairBound(1, -2, 0, 0), MakePairBound(0, 1, 1, 100)}, 1, 50, 2},
        // t <= s <= 5 ends the run at t = 5.
        {"PositiveSlopeEndsRun", {MakePairBound(-1, 1, 0, 100), MakePairBound(0, 1, -100, 5)}, 3, 50, 3},
        {"PositiveSlopePastEnd", {MakePairBound(-1, 1, 0, 100), MakePairBound(0, 1, -100, 5)}, 6, 50, std::nullopt},
        // 1 <= s <= t - 10: nothing before t = 11.
        {"NegativeSlopeStartsLater", {MakePairBound(0, 1, 1, 100), MakePairBound(-1, 1, -100, -10)}, 0, 50, 11},
        // t <= 3s <= t + 1 leaves out t = 1 mod 3 only.
        {"GapBelowOneWithZeroSlope", {MakePairBound(-1, 3, 0, 1)}, 1, 50, 2},
        {"NothingUpToHi", {MakePairBound(-1, 3, 0, 1)}, 1, 1, std::nullopt},
        // s = 7t and s = 5t + 9 meet only at t = 4.5: never.
        {"TwoLinesNeverMeetOnIntegers",
         {MakePairBound(-7, 1, 0, 0), MakePairBound(-5, 1, 9, 9)},
         -20,
         20,
         std::nullopt},
        // -3 <= 2t - 5s <= -3 with s >= 3: t = 1 mod 5 and t >= 6.
        {"CongruenceAndFloor", {MakePairBound(2, -5, -3, -3), MakePairBound(0, 1, 3, 100)}, -10, 60, 6},
        {"NegativeRange", {MakePairBound(1, -4, 0, 0), MakePairBound(0, 1, -100, -2)}, -50, 0, -48},
        // s = t and 0 <= s <= 5 with coefficients near 2^70: the pair's products leave 128 bits.
        {"ProductsPast128Bits",
         {MakePairBound(-kHuge, kHuge, 0, 0), MakePairBound(0, kHuge + 2, 0, 5 * (kHuge + 2))},
         3,
         50,
         3},
        {"ProductsPast128BitsNone",
         {MakePairBound(-kHuge, kHuge, 0, 0), MakePairBound(0, kHuge + 2, 0, 5 * (kHuge + 2))},
         6,
         50,
         std::nullopt},
        // Answers tens of thousands to a million values away (checked once by trying every t),
        // where the pair's gap for s stays below 1 all the way. (t + 20)/6137 <= s <= (t - 15)/6134:
        // a gap that widens, first holding an integer at s = 12.
        {"GapWidensFarAway",
         {MakePairBound(-1, 6137, 20, kFar), MakePairBound(-1, 6134, -kFar, -15)},
         50,
         3000050,
         73623},
        {"GapWidensPastHi",
         {MakePairBound(-1, 6137, 20, kFar), MakePairBound(-1, 6134, -kFar, -15)},
         50,
         73622,
         std::nullopt},
        // (t + 2469)/44563 <= s <= (t + 2478)/44564: a gap that narrows, closing at t = 398598.
        {"GapNarrowsFarAway",
         {MakePairBound(-1, 44563, 2469, kFar), MakePairBound(-1, 44564, -kFar, 2478)},
         7,
         2000000,
         42086},
        // t = 999983 s + 12345 with 1 <= s <= 100.
        {"CongruenceFarAway",
         {MakePairBound(-1, 999983, -12345, -12345), MakePairBound(0, 1, 1, 100)},
         1,
         5000000,
         1012328},
        // The widening gap with every coefficient times 2^70 + 1: the pair's products leave 128 bits.
        {"GapWidensFarAwayPast128Bits",
         {MakePairBound(-kHuge, 6137 * kHuge, 20 * kHuge, kFar * kHuge),
          MakePairBound(-kHuge, 6134 * kHuge, -kFar * kHuge, -15 * kHuge)},
         50,
         3000050,
         73623},
    };
    // Every t is tried up to the answer (or hi), except the middle of a long way there: the
    // first and the last kTrialSpan values are tried.
    constexpr Int kTrialSpan = 2000;
    for (const JumpCase& c : cases) {
        const std::optional<Int> next = walk::NextCompletable(c.bounds, c.from, c.hi, {});
        EXPECT_EQ(next.has_value(), c.expected.has_value()) << c.name;
        if (next && c.expected) {
            EXPECT_TRUE(*next == *c.expected) << c.name;
        }
        const Int end = c.expected.value_or(c.hi);
        std::optional<Int> trial;
        for (Int t = c.from; t <= end && !trial; ++t) {
            if (t - c.from == kTrialSpan && end - t > kTrialSpan) t = end - kTrialSpan;
            if (CompletableByTrial(c.bounds, t)) trial = t;
        }
        EXPECT_TRUE(next == trial) << c.name << " disagrees with trying every t";
    }
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(walk::NextCompletable(std::vector{MakePairBound(1, -2, 0, 0)}, Int{1}, Int{50}, stop.get_token()))
        << "stop ends it";
}

struct RelaxationCase {
    const char* name;
    std::size_t rows, columns;
    std::vector<double> a, rhs, lower, upper, cost;
    bool feasible;
    double least;  // of cost.v, when feasible
};

// The walk uses only the multipliers y, so they must prove what is reported: when infeasible,
// y.(A v) stays on one side of y.rhs over the whole box; when feasible, cost.v >= y.rhs + the
// least of (cost - y A).v over the box, which equals the least value reported.
TEST(LinearRelaxation, AnswersCarryTheirProof) {
    const RelaxationCase cases[] = {
        {"PointOnALine", 1, 2, {1, 1}, {3}, {0, 0}, {4, 4}, {1, 0}, true, 0},
        {"LineMissesTheBox", 1, 2, {1, 1}, {9}, {0, 0}, {4, 4}, {1, 0}, false, 0},
        {"NegativeRightHandSide", 1, 2, {1, -2}, {-5}, {0, 0}, {4, 4}, {-1, 0}, true, -3},
        {"TwoRowsCrossInside", 2, 3, {1, 1, 1, 1, -1, 0}, {6, 0}, {0, 0, 0}, {5, 5, 5}, {0, 0, 1}, true, 0},
        {"TwoRowsForceTheThird", 2, 3, {1, 1, 1, 1, -1, 0}, {12, 0}, {0, 0, 0}, {5, 5, 5}, {0, 0, 1}, true, 2},
        {"RowsContradict", 2, 2, {1, 1, 1, 1}, {2, 3}, {0, 0}, {5, 5}, {1, 0}, false, 0},
        {"DependentRows", 2, 2, {1, 1, 2, 2}, {4, 8}, {1, 1}, {5, 5}, {-1, 0}, true, -3},
    };
    for (const RelaxationCase& c : cases) {
        SCOPED_TRACE(c.name);
        relax::BoundedSimplex program(c.rows, c.columns, c.a, c.rhs, c.lower, c.upper);
        const bool feasible = program.FindFeasible();
        ASSERT_EQ(feasible, c.feasible);
        const auto boxRange = [&](const std::vector<double>& w) {  // of w.v over the box
            double low = 0, high = 0;
            for (std::size_t k = 0; k < c.columns; ++k) {
                low += std::min(w[k] * c.lower[k], w[k] * c.upper[k]);
                high += std::max(w[k] * c.lower[k], w[k] * c.upper[k]);
            }
            return std::pair{low, high};
        };
        const auto combined = [&](const std::vector<double>& y) {  // y A and y.rhs
            std::vector<double> w(c.columns, 0.0);
            double target = 0;
            for (std::size_t r = 0; r < c.rows; ++r) {
                target += y[r] * c.rhs[r];
                for (std::size_t k = 0; k < c.columns; ++k) w[k] += y[r] * c.a[r * c.columns + k];
            }
            return std::pair{w, target};
        };
        if (!feasible) {
            ASSERT_TRUE(program.Infeasible());
            const auto [w, target] = combined(program.Multipliers());
            const auto [low, high] = boxRange(w);
            EXPECT_TRUE(high < target - 1e-9 || low > target + 1e-9) << low << ".." << high << " vs " << target;
            continue;
        }
        ASSERT_TRUE(program.Minimise(c.cost));
        EXPECT_NEAR(program.Value(), c.least, 1e-9);
        auto [w, target] = combined(program.Multipliers());
        for (std::size_t k = 0; k < c.columns; ++k) w[k] = c.cost[k] - w[k];
        EXPECT_NEAR(target + boxRange(w).first, c.least, 1e-9);
    }
}

}  // namespace
}  // namespace qivara::test
