#include "job/EquationSplitter.h"

#include <string>
#include <vector>

#include "Text.h"
#include "formula/FormulaParser.h"
#include "formula/FormulaText.h"

namespace qivara {
namespace {

bool SplitSide(const std::string& side, List<Species>& species) {
    std::vector<std::string> texts;
    if (TextFind(side, "+") == -1) {
        texts.push_back(side);
    } else {
        texts = TextSplit(side, "+", std::int64_t{CountOccurrences(side, "+")} + 1);
    }
    for (std::string& text : texts) {
        if (text.empty()) return false;
        Species entry;
        entry.Formula = std::move(text);
        species.ListAppend(std::move(entry));
    }
    return true;
}

}  // namespace

bool SplitEquation(std::string_view equation, JobData& job) {
    const std::vector<std::string> sides = TextSplit(equation, "=", 2);
    if (sides.size() != 2 || sides[0].empty() || sides[1].empty()) return false;
    if (CountOccurrences(equation, "(") != CountOccurrences(equation, ")")) return false;
    return SplitSide(sides[0], job.ReactantList) && SplitSide(sides[1], job.ProductList);
}

std::vector<std::string> SideElements(const List<Species>& side) {
    // Parsed symbols are equal exactly when their codes are, so a code table replaces the
    // text comparison with every symbol seen so far.
    std::vector<std::string> symbols;
    std::vector<bool> seen(kElementCodeCount, false);
    for (const Species& species : side.Items()) {
        for (const std::string& symbol : species.ElementSymbols.Items()) {
            const auto code = static_cast<std::size_t>(ElementCode(symbol));
            if (seen[code]) continue;
            seen[code] = true;
            symbols.push_back(symbol);
        }
    }
    return symbols;
}

bool ElementsConserved(const JobData& job) {
    const std::vector<std::string> left = SideElements(job.ReactantList);
    const std::vector<std::string> right = SideElements(job.ProductList);
    if (left.size() != right.size()) return false;
    return SortedElementCodes(left) == SortedElementCodes(right);
}

}  // namespace qivara
