#pragma once
// What every search engine takes and gives back: the problem, the recorded solutions and the
// caller's control over a running search.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

namespace qivara {

// One coefficient per species, reactants first. 64-bit so that stepping past a limit of
// 2^31-1 never overflows; every examined or recorded entry fits 32 bits.
using CoefficientVector = std::vector<std::int64_t>;

struct SearchProblem {
    std::int32_t reactantCount = 0;  // r >= 1; species 0..r-1 are reactants, r..N-1 products
    // elementCounts[e][k]: atoms of element e in one unit of species k; counts are >= 0.
    // Rows follow the order in which the reactants first name the elements.
    std::vector<std::vector<std::int32_t>> elementCounts;
    // charges[k]: the charge of one unit of species k, when any species is charged (empty
    // otherwise). Conserved like an element (sum of charge x coefficient equal on both sides), but
    // no part of any AtomTotal, so the enumeration's order and its atom-balance test are those of
    // the elements alone.
    std::vector<std::int32_t> charges;
    std::int32_t coefficientLimit = 0;  // L, used as read: <= 1 examines the all-ones vector only
    std::int32_t resultLimit = 0;       // <= 0 ends after the first full test

    std::size_t SpeciesCount() const { return elementCounts.empty() ? 0 : elementCounts.front().size(); }
    // Sum of the species' column.
    std::int64_t AtomTotal(std::size_t species) const {
        std::int64_t total = 0;
        for (const std::vector<std::int32_t>& row : elementCounts) total += row[species];
        return total;
    }
};

struct SearchResult {
    std::vector<CoefficientVector> solutions;  // recorded, in order; never divided
    bool stopped = false;                      // a stop request ended the search early
    bool widened = false;                      // the lattice walk needed integers past 128 bits
};

// Called with every vector the reference enumeration examines, before its test.
using ExaminedObserver = std::function<void(const CoefficientVector&)>;

struct SearchControl {
    std::stop_token stop;         // polled between two examined vectors
    ExaminedObserver onExamined;  // optional; reference engine only
};

}  // namespace qivara
