#include "search/ReferenceSearch.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace qivara {
namespace {

// Carries through positions k..last of the counter: a position past the limit goes back to 1 and
// adds 1 to the next. Returns true when position `last` itself overflowed.
bool Carry(CoefficientVector& c, std::size_t k, std::size_t last, std::int64_t limit) {
    while (c[k] > limit) {
        c[k] = 1;
        if (k == last) return true;
        ++c[k + 1];
        ++k;
    }
    return false;
}

// Conservation of every element: the reactant and product tallies agree. Both sides use the
// same elements, so comparing each element's two amounts is the whole test; the charge, when
// there is one, is compared the same way. Amounts are exact: count x coefficient < 2^62, summed
// in 128 bits.
bool RowConserved(const std::vector<std::int32_t>& row, std::size_t reactants, const CoefficientVector& c) {
    __int128 reactantAmount = 0;
    __int128 productAmount = 0;
    for (std::size_t k = 0; k < c.size(); ++k) {
        const __int128 amount = static_cast<__int128>(row[k]) * c[k];
        (k < reactants ? reactantAmount : productAmount) += amount;
    }
    return reactantAmount == productAmount;
}

bool Conserves(const SearchProblem& problem, const CoefficientVector& c) {
    const std::size_t reactants = static_cast<std::size_t>(problem.reactantCount);
    for (const std::vector<std::int32_t>& row : problem.elementCounts) {
        if (!RowConserved(row, reactants, c)) return false;
    }
    return problem.charges.empty() || RowConserved(problem.charges, reactants, c);
}

// The multiple filter: c is rejected when, for some recorded s and some species k, s(k) equals
// c(k) / CommonDivisor(c). That quotient is always whole, so the comparison is exact.
bool SharesReducedCoefficient(const std::vector<CoefficientVector>& recorded, const CoefficientVector& c) {
    const std::int64_t g = CommonDivisor(c);
    for (const CoefficientVector& s : recorded) {
        for (std::size_t k = 0; k < c.size(); ++k) {
            if (s[k] == c[k] / g) return true;
        }
    }
    return false;
}

// Conservation test, multiple filter and recording of a vector whose AtomBalance is 0. Returns
// true when the search must stop: ResultLimit solutions are recorded (always, for a limit <= 0).
bool FullTest(const SearchProblem& problem, const CoefficientVector& c, std::vector<CoefficientVector>& recorded) {
    if (Conserves(problem, c) && (recorded.empty() || !SharesReducedCoefficient(recorded, c))) {
        recorded.push_back(c);
    }
    return static_cast<std::int64_t>(recorded.size()) >= problem.resultLimit;
}

// The balance in the narrowest type that holds every examined vector's exactly: 64 bits for all
// real equations, 128 only for absurd counts and limits.
template <typename Wide>
Wide Balance(const std::vector<std::int64_t>& atomTotals, std::size_t reactants, const CoefficientVector& c) {
    Wide balance = 0;
    for (std::size_t k = 0; k < reactants; ++k) balance += static_cast<Wide>(c[k]) * atomTotals[k];
    for (std::size_t k = reactants; k < c.size(); ++k) balance -= static_cast<Wide>(c[k]) * atomTotals[k];
    return balance;
}

template <typename Wide>
SearchResult Enumerate(const SearchProblem& problem, const std::vector<std::int64_t>& atomTotals,
                       const SearchControl& control) {
    const std::size_t r = static_cast<std::size_t>(problem.reactantCount);
    const std::size_t n = problem.SpeciesCount();
    const std::int64_t limit = problem.coefficientLimit;
    SearchResult result;
    CoefficientVector c(n, 1);
    for (;;) {
        if (control.stop.stop_requested()) {
            result.stopped = true;
            return result;
        }
        if (control.onExamined) control.onExamined(c);
        const Wide balance = Balance<Wide>(atomTotals, r, c);
        if (balance == 0 && FullTest(problem, c, result.solutions)) return result;

        // Advance the reactant counter. When the reactants already outweigh the products, every
        // setting that keeps positions i+1.. and raises any of 1..i is heavier still: skip them
        // by resetting the first raised position i and carrying into i+1.
        bool reactantsExhausted = false;
        if (balance > 0) {
            std::size_t i = 0;
            while (i < r && c[i] == 1) ++i;
            if (i + 1 >= r) {  // none raised, or only the last reactant
                c[r - 1] = 1;
                reactantsExhausted = true;
            } else {
                c[i] = 1;
                ++c[i + 1];
                reactantsExhausted = Carry(c, i + 1, r - 1, limit);
            }
        } else {
            ++c[0];
            reactantsExhausted = Carry(c, 0, r - 1, limit);
        }
        if (!reactantsExhausted) continue;

        // All reactants are back at 1: advance the product counter; its overflow ends the search.
        ++c[r];
        if (Carry(c, r, n - 1, limit)) return result;
    }
}

}  // namespace

__int128 AtomBalance(const SearchProblem& problem, const CoefficientVector& c) {
    std::vector<std::int64_t> totals(c.size());
    for (std::size_t k = 0; k < c.size(); ++k) totals[k] = problem.AtomTotal(k);
    return Balance<__int128>(totals, static_cast<std::size_t>(problem.reactantCount), c);
}

std::int64_t CommonDivisor(const CoefficientVector& c) {
    // The largest d not above the smallest entry that divides every entry: their gcd.
    std::int64_t g = 0;
    for (std::int64_t value : c) g = std::gcd(g, value);
    return g < 1 ? 1 : g;
}

SearchResult ReferenceSearch(const SearchProblem& problem, const SearchControl& control) {
    const std::size_t n = problem.SpeciesCount();
    std::vector<std::int64_t> atomTotals(n);
    __int128 largestTerm = 0;
    for (std::size_t k = 0; k < n; ++k) {
        atomTotals[k] = problem.AtomTotal(k);
        largestTerm += atomTotals[k];
    }
    // Every examined entry is at most max(L, 1); the balance is bounded by that times the sum.
    largestTerm *= std::max<std::int64_t>(problem.coefficientLimit, 1);
    if (largestTerm <= std::numeric_limits<std::int64_t>::max()) {
        return Enumerate<std::int64_t>(problem, atomTotals, control);
    }
    return Enumerate<__int128>(problem, atomTotals, control);
}

}  // namespace qivara
