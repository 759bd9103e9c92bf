#include "search/CoefficientSearch.h"

#include <stdexcept>

#include "search/LatticeSearch.h"
#include "search/ReferenceSearch.h"

namespace qivara {

SearchResult RunCoefficientSearch(SearchEngine engine, const SearchProblem& problem, const SearchControl& control) {
    switch (engine) {
        case SearchEngine::Reference:
            return ReferenceSearch(problem, control);
        case SearchEngine::Lattice:
            return LatticeSearch(problem, control);
    }
    throw std::logic_error("unknown search engine");
}

}  // namespace qivara
