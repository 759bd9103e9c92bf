// Fuzzes the formula parser on arbitrary bytes. Beyond "no crash": an accepted formula yields
// well-formed symbols with counts that add up, and on short inputs the one-sweep expansion gives
// exactly what the pass-by-pass expansion gives, and the parse (without the copies where that
// decides) gives what the symbol scan of the pass-by-pass expansion gives.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "LiteralExpansion.h"
#include "formula/FormulaParser.h"
#include "formula/GroupSweep.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string formula(reinterpret_cast<const char*>(data), size);
    // The sweep rejects at once any byte the symbol scan would reject later; the texts agree on
    // the rest.
    const bool languageBytes =
        formula.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789()") ==
        std::string::npos;
    if (size <= 64 && languageBytes) {
        Require(qivara::ExpandGroups(formula) == qivara::test::LiteralExpandGroups(formula));
    }
    // The working text never grows past the bound (it may start above it: a formula's own bytes).
    if (const auto expanded = qivara::ExpandGroups(formula)) {
        Require(expanded->size() <= std::max(formula.size(), qivara::kMaxExpandedFormulaBytes));
    }
    qivara::Species species;
    species.Formula = formula;
    const bool accepted = qivara::ParseFormula(species);
    if (size <= 64) {
        const auto literal = qivara::test::LiteralParseFormula(formula);
        Require(accepted == literal.has_value());
        Require(!accepted || (species.ElementSymbols.Items() == literal->symbols &&
                              species.ElementCounts.Items() == literal->counts));
        qivara::Species shortcut;
        shortcut.Formula = formula;
        const qivara::ShortcutParse decision = qivara::ParseFormulaWithoutCopies(shortcut);
        if (decision != qivara::ShortcutParse::NeedsCopies) {
            Require((decision == qivara::ShortcutParse::Parsed) == accepted);
            Require(!accepted || (shortcut.ElementSymbols == species.ElementSymbols &&
                                  shortcut.ElementCounts == species.ElementCounts));
        }
    }
    if (!accepted) return 0;

    const auto& symbols = species.ElementSymbols.Items();
    const auto& counts = species.ElementCounts.Items();
    Require(symbols.size() == counts.size());
    Require(symbols.empty() == formula.empty());  // the splitter never passes an empty formula
    std::int64_t total = 0;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::string& symbol = symbols[i];
        Require(symbol.size() == 1 || symbol.size() == 2);
        Require(symbol[0] >= 'A' && symbol[0] <= 'Z');
        Require(symbol.size() == 1 || (symbol[1] >= 'a' && symbol[1] <= 'z'));
        for (std::size_t j = 0; j < i; ++j) Require(symbols[j] != symbol);
        Require(counts[i] >= 0);
        total += counts[i];
    }
    Require(total == species.AtomTotal);
    Require(species.ResultCoefficients.ListCount() == 0);
    return 0;
}
