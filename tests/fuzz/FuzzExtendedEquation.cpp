// Fuzzes the extended language on arbitrary bytes: no crash, every refusal names a character of
// the text (position 1 for the empty text), and an accepted equation has species on both sides
// whose counts are within range, with elements on each side; a small one also goes through the
// search, which must record only vectors that conserve every element and the charge.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "formula/ExtendedEquation.h"
#include "formula/ExtendedText.h"
#include "job/PreparedSearch.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckSide(const std::vector<qivara::ExtendedSpecies>& side) {
    Require(!side.empty());
    bool elements = false;
    for (const qivara::ExtendedSpecies& species : side) {
        Require(species.symbols.size() == species.counts.size());
        Require(species.electron == species.symbols.empty());
        Require(!species.display.empty());
        for (const std::int32_t count : species.counts) Require(count >= 1);
        elements = elements || !species.electron;
    }
    Require(elements);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parsed = qivara::ParseExtendedEquation(text);
    if (const auto* error = std::get_if<qivara::ExtendedError>(&parsed)) {
        const std::int32_t characters = qivara::extended::CharacterCount(text);
        Require(error->position >= 1 && error->position <= std::max(characters, 1));
        Require(!qivara::ExtendedHintText(error->hint).empty());
        return 0;
    }
    const auto& equation = std::get<qivara::ExtendedEquation>(parsed);
    Require(!equation.sign.empty());
    CheckSide(equation.reactants);
    CheckSide(equation.products);
    if (equation.reactants.size() + equation.products.size() > 8) return 0;

    auto prepared = qivara::PrepareSearch(text, "6", "3", qivara::FormulaSyntax::Extended);
    const auto* search = std::get_if<qivara::PreparedSearch>(&prepared);
    if (!search) return 0;
    const qivara::SearchProblem& problem = search->problem;
    const qivara::SearchResult found = qivara::RunCoefficientSearch(qivara::kDefaultSearchEngine, problem, {});
    const auto conserved = [&](const std::vector<std::int32_t>& row, const qivara::CoefficientVector& c) {
        std::int64_t balance = 0;
        for (std::size_t k = 0; k < c.size(); ++k) {
            const std::int64_t term = std::int64_t{row[k]} * c[k];
            balance += static_cast<std::int32_t>(k) < problem.reactantCount ? term : -term;
        }
        return balance == 0;
    };
    for (const qivara::CoefficientVector& solution : found.solutions) {
        for (const auto& row : problem.elementCounts) Require(conserved(row, solution));
        if (!problem.charges.empty()) Require(conserved(problem.charges, solution));
    }
    return 0;
}
