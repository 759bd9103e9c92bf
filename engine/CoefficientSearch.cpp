#include "CoefficientSearch.h"

#include <algorithm>
#include <stdexcept>

#include "FastSearch.h"
#include "ReferenceSearch.h"

namespace qivara {

std::int64_t SearchProblem::AtomTotal(std::size_t species) const {
    std::int64_t total = 0;
    for (const std::vector<std::int32_t>& row : elementCounts) total += row[species];
    return total;
}

SearchProblem MakeSearchProblem(const JobData& job) {
    std::vector<const Species*> species;
    for (const Species& s : job.ReactantList.Items()) species.push_back(&s);
    for (const Species& s : job.ProductList.Items()) species.push_back(&s);

    // Element rows in the order the reactant tally meets them.
    std::vector<std::string> symbols;
    for (const Species& s : job.ReactantList.Items()) {
        for (const std::string& symbol : s.ElementSymbols.Items()) {
            if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) symbols.push_back(symbol);
        }
    }
    SearchProblem problem;
    problem.reactantCount = job.ReactantCount;
    problem.coefficientLimit = job.CoefficientLimit;
    problem.resultLimit = job.ResultLimit;
    problem.elementCounts.assign(symbols.size(), std::vector<std::int32_t>(species.size(), 0));
    for (std::size_t k = 0; k < species.size(); ++k) {
        const auto& names = species[k]->ElementSymbols.Items();
        const auto& counts = species[k]->ElementCounts.Items();
        for (std::size_t j = 0; j < names.size(); ++j) {
            const auto row = std::find(symbols.begin(), symbols.end(), names[j]) - symbols.begin();
            problem.elementCounts[static_cast<std::size_t>(row)][k] = counts[j];
        }
    }
    return problem;
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
