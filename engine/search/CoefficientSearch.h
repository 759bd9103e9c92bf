#pragma once
// The coefficient search: its input, its output and the choice of engine.
//
// Every engine records exactly the same solutions: the vectors with entries in 1..L examined in
// co-lexicographic order (the last product the most significant position, the first reactant
// the least), kept when they conserve every element and pass the multiple filter, until
// ResultLimit are recorded. The reference engine is that enumeration step by step; the lattice
// engine walks the lattice of balanced vectors in the same order (LatticeSearch.h).

#include "search/SearchProblem.h"

namespace qivara {

enum class SearchEngine { Reference, Lattice };

// The engine the window and the CLI use unless told otherwise.
inline constexpr SearchEngine kDefaultSearchEngine = SearchEngine::Lattice;

// Runs the chosen engine.
SearchResult RunCoefficientSearch(SearchEngine engine, const SearchProblem& problem, const SearchControl& control);

}  // namespace qivara
