#pragma once

#include "search/CoefficientSearch.h"

namespace qivara {

// The literal enumeration: two nested counters (reactants inside, first reactant fastest), the
// AtomBalance pre-test, the jump past reactant settings that are already too heavy, the full
// test with its multiple filter, and the stop check after every full test. Kept as the
// reference that every faster engine is checked against.
SearchResult ReferenceSearch(const SearchProblem& problem, const SearchControl& control);

// Sum of c(k) x AtomTotal over the reactants minus the same over the products, exactly.
__int128 AtomBalance(const SearchProblem& problem, const CoefficientVector& c);

// Greatest common divisor of the entries (all >= 1), so never below 1.
std::int64_t CommonDivisor(const CoefficientVector& c);

}  // namespace qivara
