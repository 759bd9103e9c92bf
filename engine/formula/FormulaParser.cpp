#include "formula/FormulaParser.h"

#include <utility>
#include <vector>

#include "Numbers.h"
#include "Text.h"
#include "formula/ElementTally.h"
#include "formula/FormulaText.h"
#include "formula/GroupSweep.h"

namespace qivara {

using namespace formula_text;

std::optional<std::string> ExpandGroups(std::string_view formula) {
    GroupSweep sweep(formula);
    std::string head;  // the final text before the sweep's position
    std::string tail;  // the appended copies; tail[tailStart..] is still in the text
    std::size_t tailStart = 0;
    for (;;) {
        const GroupSweep::Step step = sweep.Next(std::string_view(tail).substr(tailStart));
        if (step == GroupSweep::Step::Rejected) return std::nullopt;
        if (step == GroupSweep::Step::End) break;
        head.append(sweep.Before());
        head.append(sweep.Content());
        for (std::int32_t copy = 1; copy < sweep.Multiplier(); ++copy) tail.append(sweep.Content());
        tailStart += sweep.CopyDigitsDeleted();
    }
    head.append(sweep.Rest());
    head.append(tail, tailStart);
    return head;
}

// The expanded text is the head, the formula with each group's "(" and ")" + multiplier deleted
// (no longer than the formula), followed by the copies: Multiplier - 1 of each group's content,
// groups in order. When every copied content starts with a capital, scanning the head and then
// each copied content once, adding its counts Multiplier - 1 times, gives what the scan of the
// whole text gives:
// - The copies of the groups met so far start with a capital, so no multiplier reads digits from
//   them: the copies stay whole, and the sweep can be handed an empty text for them.
// - A symbol is a capital followed by at most one small letter and a digit run, none of them
//   capitals, so it ends at the latest where a copy starts, and every copy starts a symbol. At the
//   end of a text scanned alone the symbol ends as it would before that capital: count 1 when
//   bare, else the digits so far. So the whole text's symbols, counts and rejecting bytes are those
//   of the head followed by those of each copy, and every copy of a content scans alike.
// - A count above 2^31-1 rejects wherever it stands, so one look per content covers its copies.
//   Totals only grow, so one passes 2^31-1 in this order of addition exactly when it does in the
//   text's order.
// - Symbols are registered in the order of the head, then of the copies, as in the text.
// The head is scanned as written out, so what its pieces make when they meet stays as it is
// (C(l)1 reads Cl, (N)2a reads Na and then copies of N, a multiplier 00 leaves a 0 behind). A copy
// that starts with a small letter or a digit may join what precedes it (H2(3)2 reads H233): such
// formulas are left to the expanded text.
ShortcutParse ParseFormulaWithoutCopies(Species& species) {
    species.ResultCoefficients.Empty();
    species.ElementSymbols.Empty();
    species.ElementCounts.Empty();
    species.AtomTotal = 0;

    GroupSweep sweep(species.Formula);
    std::string head;
    std::vector<std::pair<std::string_view, std::int32_t>> copied;  // content, number of copies
    for (;;) {
        const GroupSweep::Step step = sweep.Next({});
        if (step == GroupSweep::Step::Rejected) return ShortcutParse::Rejected;
        if (step == GroupSweep::Step::End) break;
        head.append(sweep.Before());
        head.append(sweep.Content());
        if (sweep.Multiplier() > 1) {
            if (!IsCapital(sweep.Content().front())) return ShortcutParse::NeedsCopies;
            copied.emplace_back(sweep.Content(), sweep.Multiplier() - 1);
        }
    }
    head.append(sweep.Rest());

    ElementTally tally;
    if (!tally.Scan(head, 1)) return ShortcutParse::Rejected;
    for (const auto& [content, copies] : copied) {
        if (!tally.Scan(content, copies)) return ShortcutParse::Rejected;
    }
    tally.MoveTo(species);
    return ShortcutParse::Parsed;
}

bool ParseFormula(Species& species) {
    switch (ParseFormulaWithoutCopies(species)) {
        case ShortcutParse::Parsed:
            return true;
        case ShortcutParse::Rejected:
            return false;
        case ShortcutParse::NeedsCopies:
            break;
    }
    const std::optional<std::string> expanded = ExpandGroups(species.Formula);
    if (!expanded) return false;
    ElementTally tally;
    if (!tally.Scan(*expanded, 1)) return false;
    tally.MoveTo(species);
    return true;
}

std::string TextBetween(std::string_view text, std::string_view open, std::string_view close) {
    const std::int32_t openAt = TextFind(text, open, 1, 1);
    if (openAt == -1) return {};
    const std::int64_t contentStart = std::int64_t{openAt} + static_cast<std::int64_t>(open.size());
    const std::int32_t closeAt = TextFind(text, close, contentStart, 1);
    if (closeAt == -1) return {};
    return TextMid(text, contentStart, closeAt - contentStart);
}

std::vector<std::int32_t> SortedElementCodes(const std::vector<std::string>& symbols) {
    std::vector<std::int32_t> codes;
    codes.reserve(symbols.size());
    for (const std::string& symbol : symbols) codes.push_back(ElementCode(symbol));
    SortIntegers(codes, false);
    return codes;
}

}  // namespace qivara
