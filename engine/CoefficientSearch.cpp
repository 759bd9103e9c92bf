#include "CoefficientSearch.h"

#include <stdexcept>

#include "FastSearch.h"
#include "ReferenceSearch.h"

namespace qivara {

std::int64_t SearchProblem::AtomTotal(std::size_t species) const {
    std::int64_t total = 0;
    for (const std::vector<std::int32_t>& row : elementCounts) total += row[species];
    return total;
}

SearchResult RunCoefficientSearch(SearchEngine engine, const SearchProblem& problem, const SearchControl& control) {
    switch (engine) {
        case SearchEngine::Reference:
            return ReferenceSearch(problem, control);
        case SearchEngine::Fast:
            return FastSearch(problem, control);
    }
    throw std::logic_error("unknown search engine");
}

}  // namespace qivara
