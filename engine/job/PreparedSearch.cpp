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

void AppendSide(const std::vector<ExtendedSpecies>& from, List<Species>& to) {
    for (const ExtendedSpecies& parsed : from) {
        Species species;
        species.Formula = parsed.display;
        species.ElementSymbols.Items() = parsed.symbols;
        for (const std::int32_t count : parsed.counts) {
            species.ElementCounts.ListAppend(count);
            species.AtomTotal += count;
        }
        species.Charge = parsed.charge;
        to.ListAppend(std::move(species));
    }
}

std::variant<PreparedSearch, Refusal> PrepareExtended(std::string_view equation, std::string_view limitText,
                                                      std::string_view resultsText) {
    std::variant<ExtendedEquation, ExtendedError> parsed = ParseExtendedEquation(equation);
    if (const ExtendedError* error = std::get_if<ExtendedError>(&parsed)) {
        return Refusal{FinishKind::Unrecognised, *error};
    }
    ExtendedEquation& extended = std::get<ExtendedEquation>(parsed);
    PreparedSearch prepared;
    JobData& job = prepared.job;
    AppendSide(extended.reactants, job.ReactantList);
    AppendSide(extended.products, job.ProductList);
    job.ReactantCount = job.ReactantList.ListCount();
    job.ProductCount = job.ProductList.ListCount();
    job.ReactionSign = std::move(extended.sign);
    job.Utf8Text = true;
    prepared.notes = std::move(extended.notes);
    if (!ElementsConserved(job)) return Refusal{FinishKind::ElementsNotConserved, std::nullopt};
    job.CoefficientLimit = TextToInteger(limitText);
    job.ResultLimit = TextToInteger(resultsText);
    prepared.problem = MakeSearchProblem(job);
    bool charged = false;
    std::vector<std::int32_t> charges;
    for (const List<Species>* side : {&job.ReactantList, &job.ProductList}) {
        for (const Species& species : side->Items()) {
            charges.push_back(species.Charge);
            charged = charged || species.Charge != 0;
        }
    }
    if (charged) prepared.problem.charges = std::move(charges);
    return prepared;
}

}  // namespace

std::variant<PreparedSearch, Refusal> PrepareSearch(std::string_view equation, std::string_view limitText,
                                                    std::string_view resultsText, FormulaSyntax syntax) {
    if (syntax == FormulaSyntax::Extended) return PrepareExtended(equation, limitText, resultsText);
    std::variant<PreparedSearch, FinishKind> prepared = PrepareSearch(equation, limitText, resultsText);
    if (const FinishKind* kind = std::get_if<FinishKind>(&prepared)) return Refusal{*kind, std::nullopt};
    return std::move(std::get<PreparedSearch>(prepared));
}

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
