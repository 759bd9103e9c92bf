#pragma once

#include "CoefficientSearch.h"

namespace qivara {

// Records exactly what ReferenceSearch records, without enumerating the box. The balanced
// vectors are the integer kernel of the signed element matrix; FastSearch walks that lattice in
// the reference's co-lexicographic order (LatticeDescent over the coordinates from the last
// product down to the first reactant) and applies the same multiple filter and stop rule. With a
// result limit <= 0 the reference ends at the first vector whose atom totals balance, so that
// vector is found on the lattice of the single atom-total equation instead.
//
// All arithmetic is exact 128-bit; should an absurd input need more, the search falls back to
// ReferenceSearch, which is exact but slow. Polls control.stop in every loop; control.onExamined
// is not called (the fast search examines no vectors one by one).
SearchResult FastSearch(const SearchProblem& problem, const SearchControl& control);

}  // namespace qivara
