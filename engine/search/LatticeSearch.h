#pragma once

#include "search/CoefficientSearch.h"

namespace qivara {

// Records exactly what ReferenceSearch records, without enumerating the box. The balanced
// vectors are the integer kernel of the signed element matrix; LatticeSearch walks that lattice in
// the reference's co-lexicographic order (LatticeWalk over the coordinates from the last
// product down to the first reactant) and applies the same multiple filter and stop rule. With a
// result limit <= 0 the reference ends at the first vector whose atom totals balance, so that
// vector is found on the lattice of the single atom-total equation instead.
//
// It first runs the literal enumeration for a few hundred vectors: when the answer lies that
// early (a first solution made of small coefficients, result limit 1) nothing beats it, and the
// lattice set-up would cost more than the whole enumeration. Otherwise it runs LatticeWalkSearch.
// Polls control.stop in every loop; control.onExamined is not called.
SearchResult LatticeSearch(const SearchProblem& problem, const SearchControl& control);

// The lattice walk alone. Its arithmetic is checked 128-bit; should an input need more (huge
// counts make huge kernel entries), the walk runs again in wide integers (SearchResult::widened).
SearchResult LatticeWalkSearch(const SearchProblem& problem, const SearchControl& control);

// Vectors the literal enumeration may examine before LatticeSearch switches to the lattice.
inline constexpr std::size_t kLiteralPrefixVectors = 256;

}  // namespace qivara
