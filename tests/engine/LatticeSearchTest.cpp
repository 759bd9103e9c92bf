// The lattice engine against the literal enumeration: same vectors, same order, same count, same
// stop flag, on seeded random equations and on the awkward cases.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <limits>
#include <numeric>
#include <optional>
#include <random>
#include <sstream>
#include <thread>

#include "EngineTestSupport.h"
#include "TableRows.h"
#include "job/EquationSplitter.h"
#include "search/IntegerKernel.h"
#include "search/LatticeSearch.h"
#include "search/ReferenceSearch.h"

namespace qivara::test {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Five elements with random counts up to 2^31: the kernel's entries need more than 128 bits, so
// the lattice walk runs in wide integers.
const std::string kKernelPast128Bits =
    "H1904615677O1624002029C986026653N117628830S147806609+H1800426751O1345499494C795511701N105433559S8781"
    "15724+H729053695O1704103303C1870626076N166716597S1487394071=H396591249O1703301250C799981517N16660639"
    "44S1484172014+H550290314O1298508492C2143362696N630311760S1013994433+"
    "H1791095846O2135392494C946286479N1857819723S491264";

std::size_t KernelDimension(const SearchProblem& problem) {
    std::vector<IntegerRow> rows;
    for (const auto& counts : problem.elementCounts) rows.emplace_back(counts.begin(), counts.end());
    return IntegerKernel(rows, problem.SpeciesCount()).Dimension();
}

std::string Describe(const std::string& equation, std::int32_t limit, std::int32_t resultLimit) {
    std::ostringstream text;
    text << equation << " limit " << limit << " results " << resultLimit;
    return text.str();
}

// Runs the reference, the lattice walk alone and the lattice engine (literal prefix, then the
// walk); true when all agree (a mismatch is reported as a failure).
bool SameAsReference(const SearchProblem& problem, const std::string& what) {
    const SearchResult reference = ReferenceSearch(problem, {});
    bool same = true;
    for (const auto& [name, engine] : {std::pair{"lattice", &LatticeWalkSearch}, std::pair{"fast", &LatticeSearch}}) {
        const SearchResult result = engine(problem, {});
        EXPECT_EQ(result.solutions, reference.solutions) << name << ": " << what;
        EXPECT_EQ(result.stopped, reference.stopped) << name << ": " << what;
        same = same && result.solutions == reference.solutions && result.stopped == reference.stopped;
    }
    return same;
}

// Random formulas over a few elements: counts of 0, bare symbols, groups with multipliers.
class EquationGenerator {
public:
    explicit EquationGenerator(std::uint32_t seed) : m_random(seed) {}

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

    std::string Formula(const std::vector<std::string>& elements) {
        std::string text;
        const int parts = Uniform(1, 3);
        for (int p = 0; p < parts; ++p) {
            if (Uniform(0, 4) == 0) {
                text += "(" + Atom(elements) + Atom(elements) + ")" + std::to_string(Uniform(2, 3));
            } else {
                text += Atom(elements);
            }
        }
        return text;
    }

    // An equation whose sides use the same elements; sometimes with a planted small solution
    // (the last product carries whatever the others leave), sometimes with a repeated species.
    std::string Equation(int species) {
        static const std::vector<std::string> pool{"H", "O", "C", "N", "S", "Fe"};
        std::vector<std::string> elements(pool.begin(), pool.begin() + Uniform(1, 4));
        const int reactants = Uniform(1, species - 1);
        std::vector<std::string> formulas;
        for (int k = 0; k < species; ++k) formulas.push_back(Formula(elements));
        if (Uniform(0, 5) == 0) {
            const int from = Uniform(0, species - 1);
            formulas[static_cast<std::size_t>(Uniform(0, species - 1))] = formulas[static_cast<std::size_t>(from)];
        }
        std::string equation;
        for (int k = 0; k < species; ++k) {
            equation += (k == 0 ? "" : k == reactants ? "=" : "+") + formulas[static_cast<std::size_t>(k)];
        }
        if (Uniform(0, 1) == 0) Plant(equation, reactants, species);
        return equation;
    }

private:
    std::string Atom(const std::vector<std::string>& elements) {
        const std::string& symbol =
            elements[static_cast<std::size_t>(Uniform(0, static_cast<int>(elements.size()) - 1))];
        const int count = Uniform(0, 7) == 0 ? 0 : Uniform(1, 4);
        return symbol + (count == 1 && Uniform(0, 1) == 0 ? "" : std::to_string(count));
    }

    // Replaces the last product by the atoms that small coefficients of the others leave over.
    void Plant(std::string& equation, int reactants, int species) {
        auto prepared = PrepareSearch(equation, "2", "1");
        const auto* search = std::get_if<PreparedSearch>(&prepared);
        if (!search) return;
        const SearchProblem& problem = search->problem;
        std::vector<std::int64_t> c(static_cast<std::size_t>(species));
        for (auto& value : c) value = Uniform(1, 3);
        // The last product holds each element's leftover; rows follow the reactants' order.
        const std::vector<std::string> symbols = SideElements(search->job.ReactantList);
        std::string last;
        for (std::size_t e = 0; e < symbols.size(); ++e) {
            std::int64_t left = 0;
            for (int k = 0; k + 1 < species; ++k) {
                left += (k < reactants ? 1 : -1) * c[static_cast<std::size_t>(k)] *
                        problem.elementCounts[e][static_cast<std::size_t>(k)];
            }
            if (left < 0) return;
            last += symbols[e] + std::to_string(left);
        }
        equation = equation.substr(0, equation.rfind(species - 1 == reactants ? '=' : '+') + 1) + last;
    }

    std::mt19937 m_random;
};

// The largest limit at which the reference enumerates at most `budget` vectors.
std::int32_t AffordableLimit(std::size_t species, double budget) {
    return static_cast<std::int32_t>(std::floor(std::pow(budget, 1.0 / static_cast<double>(species))));
}

TEST(LatticeSearchDifferential, SeededRandomEquations) {
    EquationGenerator generator(20240611);
    const std::int32_t resultLimits[] = {-1, 0, 1, 2, 3, 16};
    std::array<int, 4> byDimension{};  // cases with kernel dimension 0, 1, 2, 3 or more
    int cases = 0;
    int withSolutions = 0;
    int multipleRecords = 0;
    while (cases < 20000) {
        const int species = generator.Uniform(2, 7);
        const std::string equation = generator.Equation(species);
        const std::int32_t top = AffordableLimit(static_cast<std::size_t>(species), 20000.0);
        const int pick = generator.Uniform(0, 9);
        const std::int32_t limit = pick == 0 ? generator.Uniform(-3, 1) : generator.Uniform(2, std::max(2, top));
        const std::int32_t resultLimit = resultLimits[generator.Uniform(0, 5)];
        const std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
        if (!problem) continue;
        ++cases;
        ++byDimension[std::min<std::size_t>(KernelDimension(*problem), 3)];
        const SearchResult reference = ReferenceSearch(*problem, {});
        withSolutions += reference.solutions.empty() ? 0 : 1;
        multipleRecords += reference.solutions.size() > 1 ? 1 : 0;
        if (!SameAsReference(*problem, Describe(equation, limit, resultLimit))) break;
    }
    // The generator must reach every kind of case, or the comparison proves little.
    for (std::size_t d = 0; d < byDimension.size(); ++d) EXPECT_GE(byDimension[d], 300) << "kernel dimension " << d;
    EXPECT_GE(withSolutions, 4000);
    EXPECT_GE(multipleRecords, 500);
    std::cout << "cases by kernel dimension 0/1/2/3+: " << byDimension[0] << '/' << byDimension[1] << '/'
              << byDimension[2] << '/' << byDimension[3] << ", with solutions " << withSolutions << ", several "
              << multipleRecords << '\n';
}

// Eight to fourteen species over few elements: kernels of dimension 4 to 13, where the walk relaxes
// its levels to linear programs and jumps by free coordinates' residues. Small boxes, so the
// literal enumeration can check every case.
TEST(LatticeSearchDifferential, HighDimensionalKernels) {
    EquationGenerator generator(20261210);
    const std::int32_t resultLimits[] = {0, 1, 3, 16};
    int cases = 0;
    int atLeastSix = 0;
    int withSolutions = 0;
    while (cases < 600) {
        const int species = generator.Uniform(8, 14);
        const std::string equation = generator.Equation(species);
        const std::int32_t limit =
            generator.Uniform(2, std::max(2, AffordableLimit(static_cast<std::size_t>(species), 400000.0)));
        const std::int32_t resultLimit = resultLimits[generator.Uniform(0, 3)];
        const std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
        if (!problem || KernelDimension(*problem) < 4) continue;
        ++cases;
        atLeastSix += KernelDimension(*problem) >= 6 ? 1 : 0;
        withSolutions += ReferenceSearch(*problem, {}).solutions.empty() ? 0 : 1;
        if (!SameAsReference(*problem, Describe(equation, limit, resultLimit))) break;
    }
    EXPECT_GE(atLeastSix, 200);
    EXPECT_GE(withSolutions, 100);
}

// A charge is conserved like an element but takes no part in the atom-balance test, so the
// enumeration's order stays that of the elements; both engines must agree on it too.
TEST(LatticeSearchDifferential, ChargedProblems) {
    EquationGenerator generator(20261210);
    int cases = 0;
    int withSolutions = 0;
    while (cases < 3000) {
        const int species = generator.Uniform(2, 6);
        const std::int32_t limit =
            generator.Uniform(2, std::max(2, AffordableLimit(static_cast<std::size_t>(species), 5000.0)));
        std::optional<SearchProblem> problem = TryProblem(generator.Equation(species), limit, generator.Uniform(0, 3));
        if (!problem) continue;
        ++cases;
        for (std::size_t k = 0; k < problem->SpeciesCount(); ++k)
            problem->charges.push_back(generator.Uniform(0, 2) == 0 ? generator.Uniform(-3, 3) : 0);
        withSolutions += ReferenceSearch(*problem, {}).solutions.empty() ? 0 : 1;
        if (!SameAsReference(*problem, "charged case " + std::to_string(cases))) break;
    }
    std::cout << "charged cases with solutions: " << withSolutions << " of " << cases << '\n';
    EXPECT_GE(withSolutions, 500);
    // Fe^3+ + e^- = Fe: the electron has no element, so only the charge fixes its coefficient.
    SearchProblem iron;
    iron.reactantCount = 2;
    iron.elementCounts = {{1, 0, 1}};
    iron.charges = {3, -1, 0};
    iron.coefficientLimit = 16;
    iron.resultLimit = 1;
    EXPECT_EQ(ReferenceSearch(iron, {}).solutions, (Vectors{{1, 3, 1}}));
    EXPECT_EQ(LatticeSearch(iron, {}).solutions, (Vectors{{1, 3, 1}}));
}

struct Adversarial {
    const char* name;
    std::string equation;
};

class LatticeSearchAgainstReference : public testing::TestWithParam<Adversarial> {};

// Every equation at every awkward limit pair the reference can finish quickly.
TEST_P(LatticeSearchAgainstReference, EveryLimitPair) {
    const std::string& equation = GetParam().equation;
    for (std::int32_t limit : {kMin, -1, 0, 1, 2, 3, 5, 7, 8, 12, 16, 24}) {
        for (std::int32_t resultLimit : {kMin, -1, 0, 1, 2, 3, 10, 16, kMax}) {
            const std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
            ASSERT_TRUE(problem) << equation;
            if (std::pow(std::max(limit, 1), problem->SpeciesCount()) > 1e6) continue;
            SameAsReference(*problem, Describe(equation, limit, resultLimit));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LatticeSearchAgainstReference,
    testing::Values(Adversarial{"WaterFromElements", "H2+O2=H2O"}, Adversarial{"WaterFromElementsSwapped", "O2+H2=H2O"},
                    Adversarial{"Ozone", "O2=O3"}, Adversarial{"NoSolution", "H2O=H2O2"},
                    Adversarial{"CopperAndNitricAcid", "Cu+HNO3=Cu(NO3)2+NO+H2O"},
                    Adversarial{"TwoIndependentSolutions", "H2+O2=H2O+H2O2"},
                    Adversarial{"TwoIndependentReordered", "H2O2+O2=H2O+H2"}, Adversarial{"AllCountsZero", "H0=H0"},
                    Adversarial{"AllCountsZeroThree", "H0+O0=H0O0"}, Adversarial{"ZeroCountForcesZero", "H2+O0=H2+O2"},
                    Adversarial{"ZeroSpeciesAmongOthers", "H2+O0=H2O0"},
                    Adversarial{"RepeatedOnBothSides", "H2+O2=H2O+H2"}, Adversarial{"RepeatedOnOneSide", "H2+H2=H4"},
                    Adversarial{"SameSpeciesBothSides", "H2O=H2O"},
                    Adversarial{"KernelDimensionThree", "H2+H4+H6=H8+H10"},
                    Adversarial{"KernelDimensionTwoCarbon", "C+O2+CO=CO2"},
                    Adversarial{"LoneMultiplesAmongRecords", "H7O3+H7O2=H6O1+H5O3"},
                    Adversarial{"OneCoordinateFewValues", "H20+H=H2"}, Adversarial{"HeavySpecies", "H7+O5=H3O2+O"},
                    Adversarial{"Permanganate", "KMnO4+HCl=KCl+MnCl2+Cl2+H2O"},
                    Adversarial{"Groups", "Ca(OH)2+H3PO4=Ca3(PO4)2+H2O"},
                    Adversarial{"HugeCounts", "H2147483647+H2147483646=H2147483645+H3"},
                    Adversarial{"HugeCountsBalanced", "H2147483647+H2147483647+H2147483647=H2147483647"},
                    Adversarial{"HugeMixedCounts", "H2147483647O3+O2147483646=H5O7+H2147483640"},
                    Adversarial{"KernelPast128Bits", kKernelPast128Bits}),
    RowName());

// Results at huge limits, where the reference cannot follow: checked against what the rules
// imply (every record balanced, coprime, in the box, in co-lexicographic order, sharing no
// coordinate with an earlier one) and against the known first records.
TEST(LatticeSearchLargeLimits, RecordsObeyTheRules) {
    struct Case {
        std::string equation;
        std::int32_t limit, resultLimit;
        std::size_t expectedCount;
        CoefficientVector first;
    } cases[] = {
        {"H2+O2=H2O", kMax, kMax, 1, {2, 1, 2}},
        {"MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O", kMax, 16, 1, {1, 2, 3, 1, 2, 1, 2}},
        {"H2+O2=H2O+H2O2", kMax, 16, 16, {3, 2, 2, 1}},
        {"H2+O2=H2O+H2O2", 1000000, 200, 200, {3, 2, 2, 1}},
        {"H2+H4+H6=H8+H10", kMax, 16, 16, {4, 1, 1, 1, 1}},
        {"H0=H0", kMax, 16, 16, {1, 1}},
        // Kernel dimension 2: every first-level value from 2 to about 10^8 holds one multiple of
        // the first record and nothing else before the second.
        {"H390+Al821H0+Br0737H0756Al0=Br578H116(Al403)0+Br159Al418H1030", kMax, 2, 2, {1, 1, 1, 1, 1}},
        // Kernel dimension 13: before the first record, every value of the fourth level leads
        // four levels down before it dies, for a reason that value has no part in.
        {"O4K+KO4+K2+K3O2+OK2+O3+K4O4+K4O21+K4+O+KO=K4+K39O3+O2K+K",
         kMax,
         16,
         16,
         {1, 1, 263, 1, 4, 1, 1, 1, 1, 1, 1, 1, 14, 1, 1}},
    };
    for (const Case& c : cases) {
        const SearchProblem problem = test::ProblemFor(c.equation, c.limit, c.resultLimit);
        const SearchResult fast = LatticeWalkSearch(problem, {});
        ASSERT_EQ(fast.solutions.size(), c.expectedCount) << c.equation;
        EXPECT_EQ(fast.solutions.front(), c.first) << c.equation;
        for (std::size_t r = 0; r < fast.solutions.size(); ++r) {
            const CoefficientVector& s = fast.solutions[r];
            EXPECT_EQ(AtomBalance(problem, s), 0);
            EXPECT_EQ(CommonDivisor(s), 1);
            for (std::int64_t value : s) EXPECT_TRUE(value >= 1 && value <= c.limit);
            for (const auto& counts : problem.elementCounts) {
                __int128 sum = 0;
                for (std::size_t k = 0; k < s.size(); ++k)
                    sum += (k < static_cast<std::size_t>(problem.reactantCount) ? 1 : -1) *
                           static_cast<__int128>(counts[k]) * s[k];
                EXPECT_EQ(sum, 0) << c.equation;
            }
            for (std::size_t q = 0; q < r; ++q) {
                const CoefficientVector& earlier = fast.solutions[q];
                EXPECT_TRUE(std::lexicographical_compare(earlier.rbegin(), earlier.rend(), s.rbegin(), s.rend()));
                for (std::size_t k = 0; k < s.size(); ++k) EXPECT_NE(earlier[k], s[k]) << c.equation;
            }
        }
    }
}

// Near the largest limits with kernels of dimension 3 to 5, where no literal search can follow.
// With a single product every reactant coefficient is at most K c(N) (K the product's largest
// count), so the balanced vectors with c(N) <= M lie in the box [1, K M]^n and come first in
// the search's order: the records among them at any larger limit are the literal search's
// records in that small box.
TEST(LatticeSearchLargeLimits, SingleProductRecordsMatchASmallBox) {
    std::mt19937 random(20261209);
    const auto uniform = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const std::int32_t resultLimits[] = {1, 2, 3, 16};
    int cases = 0;
    int compared = 0;  // cases with at least one record in the small box
    std::size_t records = 0;
    while (cases < 600) {
        const std::vector<std::string> elements =
            uniform(0, 1) == 0 ? std::vector<std::string>{"H"} : std::vector<std::string>{"H", "O"};
        const int reactants = uniform(3, 5);
        std::string equation;
        for (int k = 0; k < reactants; ++k) {
            std::string formula;
            for (const std::string& element : elements) {
                if (formula.empty() || uniform(0, 1) == 0) formula += element + std::to_string(uniform(1, 4));
            }
            equation += (k == 0 ? "" : "+") + formula;
        }
        int largestCount = 0;
        equation += "=";
        for (const std::string& element : elements) {
            const int count = uniform(1, 3);
            largestCount = std::max(largestCount, count);
            equation += element + std::to_string(count);
        }
        const std::int32_t limit = kMax - uniform(0, 1000);
        const std::int32_t resultLimit = resultLimits[uniform(0, 3)];
        const std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
        if (!problem) continue;
        const std::size_t dimension = KernelDimension(*problem);
        if (dimension < 3 || dimension > 5) continue;
        ++cases;
        const std::size_t n = problem->SpeciesCount();
        const auto box = static_cast<std::int32_t>(std::floor(std::pow(1e7, 1.0 / static_cast<double>(n))));
        const std::int64_t lastBound = box / largestCount;  // records with c(N) up to this are compared
        SearchProblem small = *problem;
        small.coefficientLimit = box;
        const auto upTo = [lastBound](Vectors records) {
            std::erase_if(records, [lastBound](const CoefficientVector& c) { return c.back() > lastBound; });
            return records;
        };
        const Vectors expected = upTo(ReferenceSearch(small, {}).solutions);
        compared += expected.empty() ? 0 : 1;
        records += expected.size();
        ASSERT_EQ(upTo(LatticeWalkSearch(*problem, {}).solutions), expected) << Describe(equation, limit, resultLimit);
    }
    EXPECT_GE(compared, 300);
    EXPECT_GE(records, 600u);
}

// Where the 128-bit walk used to give up, checked against the literal search: a kernel whose
// entries leave 128 bits (the walk runs in wide integers) and a pair of last-level bounds whose
// coefficients' products leave 128 bits at limit 40 (taken in wide integers on the spot).
TEST(LatticeSearchLargeLimits, FormerOverflowSitesMatchTheReference) {
    struct Case {
        const char* name;
        std::string equation;
        std::int32_t limit, resultLimit;
        bool widened;
    } cases[] = {
        {"KernelEntriesPast128Bits", kKernelPast128Bits, 3, 16, true},
        {"PairSlopePast128Bits", "H9592056O6423621C2774956=C1037958+H2210275+O2302273C190995+H5881584O866855C7659864",
         40, 16, false},
    };
    for (const Case& c : cases) {
        const SearchProblem problem = test::ProblemFor(c.equation, c.limit, c.resultLimit);
        const SearchResult walk = LatticeWalkSearch(problem, {});
        EXPECT_EQ(walk.solutions, ReferenceSearch(problem, {}).solutions) << c.name;
        EXPECT_FALSE(walk.stopped) << c.name;
        EXPECT_EQ(walk.widened, c.widened) << c.name;
    }
}

TEST(LatticeSearchLargeLimits, ResultLimitZeroFindsFirstAtomBalance) {
    // Reference: H2O=H2O2 at limit 5 ends at (4,3), unbalanced; the same holds at any limit.
    EXPECT_TRUE(LatticeWalkSearch(test::ProblemFor("H2O=H2O2", kMax, 0), {}).solutions.empty());
    EXPECT_EQ(LatticeWalkSearch(test::ProblemFor("H2+O2=H2O", kMax, -1), {}).solutions, (Vectors{{2, 1, 2}}));
    // Atom totals of 2^31-1: the first zero balance is (1,1,1,3) whatever the limit.
    EXPECT_EQ(
        LatticeWalkSearch(test::ProblemFor("H2147483647+H2147483647+H2147483647=H2147483647", kMax, 0), {}).solutions,
        (Vectors{{1, 1, 1, 3}}));
}

TEST(LatticeSearchStop, StopRequestedBeforeTheSearch) {
    std::stop_source source;
    source.request_stop();
    const SearchResult result = LatticeSearch(test::ProblemFor("H2+O2=H2O", 16, 1), {source.get_token(), {}});
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.solutions.empty());
}

TEST(LatticeSearchStop, StopEndsAHugeSearch) {
    // Kernel dimension 4 at the largest limits: millions of records to go, so only the stop
    // request can end it; the join below would hang if it were ignored.
    const SearchProblem problem = test::ProblemFor("H2+H4+H6=H8+H10", kMax, kMax);
    std::stop_source source;
    SearchResult result;
    std::thread worker([&] { result = LatticeSearch(problem, {source.get_token(), {}}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    source.request_stop();
    worker.join();
    EXPECT_TRUE(result.stopped);
}

TEST(IntegerKernel, EchelonBasisOfTheWholeKernel) {
    // Columns in any order; the basis must be echelon with positive pivots and span the kernel.
    const std::vector<IntegerRow> rows{{2, 0, -2, -2}, {0, 2, -1, -2}};
    const KernelBasis basis = IntegerKernel(rows, 4);
    ASSERT_EQ(basis.Dimension(), 2u);
    for (std::size_t j = 0; j < basis.Dimension(); ++j) {
        const IntegerRow& b = basis.vectors[j];
        for (std::size_t i = 0; i < basis.pivots[j]; ++i) EXPECT_EQ(b[i], 0);
        EXPECT_GT(b[basis.pivots[j]], 0);
        for (const IntegerRow& row : rows) {
            __int128 sum = 0;
            for (std::size_t i = 0; i < 4; ++i) sum += row[i] * b[i];
            EXPECT_EQ(sum, 0);
        }
    }
    EXPECT_LT(basis.pivots[0], basis.pivots[1]);
    // Whole kernel, not a sublattice: the kernel point (3,2,2,1) is an integer combination,
    // found pivot by pivot.
    IntegerRow rest{3, 2, 2, 1};
    for (std::size_t j = 0; j < basis.Dimension(); ++j) {
        const __int128 pivot = basis.vectors[j][basis.pivots[j]];
        ASSERT_EQ(rest[basis.pivots[j]] % pivot, 0);
        const __int128 t = rest[basis.pivots[j]] / pivot;
        for (std::size_t i = 0; i < 4; ++i) rest[i] -= t * basis.vectors[j][i];
    }
    EXPECT_EQ(rest, (IntegerRow{0, 0, 0, 0}));
    EXPECT_EQ(IntegerKernel({{2, -4}}, 2).vectors, (std::vector<IntegerRow>{{2, 1}}));
    EXPECT_EQ(IntegerKernel({{1, -1}}, 2).vectors, (std::vector<IntegerRow>{{1, 1}}));
    EXPECT_EQ(IntegerKernel({{0, 0}}, 2).Dimension(), 2u);
    // What sends the walk to wide integers: a kernel past 128 bits throws, never wraps.
    const SearchProblem past = test::ProblemFor(kKernelPast128Bits, 3, 1);
    std::vector<IntegerRow> pastRows;
    for (const auto& counts : past.elementCounts) {
        IntegerRow row;
        for (std::size_t k = 0; k < counts.size(); ++k)
            row.push_back(k < static_cast<std::size_t>(past.reactantCount) ? exact::Int{counts[k]}
                                                                           : -exact::Int{counts[k]});
        pastRows.push_back(std::move(row));
    }
    EXPECT_THROW(IntegerKernel(pastRows, past.SpeciesCount()), exact::ArithmeticOverflow);
    EXPECT_EQ(IntegerKernel({{1, 0}, {0, 1}}, 2).Dimension(), 0u);
}

}  // namespace
}  // namespace qivara::test
