#include "job/PreparedSearch.h"

#include <algorithm>

#include "Numbers.h"
#include "formula/FormulaParser.h"
#include "job/EquationSplitter.h"

namespace qivara {
namespace {

bool ParseSide(List<Species>& side) {
    for (Species& species : side.Items()) {
        if (!ParseFormula(species)) return false;
    }
    return true;
}

// The element matrix of a parsed job whose two sides use the same elements, with its rows in the
// order in which the reactants first name the elements (the order of the reactant tally).
SearchProblem MakeSearchProblem(const JobData& job) {
    std::vector<const Species*> species;
    for (const Species& s : job.ReactantList.Items()) species.push_back(&s);
    for (const Species& s : job.ProductList.Items()) species.push_back(&s);

    const std::vector<std::string> symbols = SideElements(job.ReactantList);
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

}  // namespace

std::variant<PreparedSearch, FinishKind> PrepareSearch(std::string_view equation, std::string_view limitText,
                                                       std::string_view resultsText) {
    PreparedSearch prepared;
    JobData& job = prepared.job;
    if (!SplitEquation(equation, job)) return FinishKind::Unrecognised;
    job.ReactantCount = job.ReactantList.ListCount();
    job.ProductCount = job.ProductList.ListCount();
    if (!ParseSide(job.ReactantList) || !ParseSide(job.ProductList)) return FinishKind::Unrecognised;
    if (!ElementsConserved(job)) return FinishKind::ElementsNotConserved;
    job.CoefficientLimit = TextToInteger(limitText);
    job.ResultLimit = TextToInteger(resultsText);
    prepared.problem = MakeSearchProblem(job);
    return prepared;
}

}  // namespace qivara
