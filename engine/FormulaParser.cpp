#include "FormulaParser.h"

#include <algorithm>
#include <limits>

#include "Numbers.h"
#include "Text.h"

namespace qivara {
namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsSmall(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsCapital(c) || IsSmall(c); }

// Decimal value of a digit run, or nullopt beyond 32 bits.
std::optional<std::int32_t> DecimalValue(std::string_view digits) {
    std::int64_t value = 0;
    for (char digit : digits) {
        value = value * 10 + (digit - '0');
        if (value > kMaxCount) return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::size_t DigitRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && IsDigit(text[from])) ++from;
    return from;
}

}  // namespace

// The expansion is computed in one left-to-right sweep that gives the same text as repeating the
// pass until no parenthesis is left:
// - Only letters, digits and parentheses survive the symbol scan, and a pass deletes nothing but
//   "(" and ")" + digits, so a formula holding any other byte is rejected at once.
// - Copies go to the end and hold no parenthesis, so the passes meet the groups in written order
//   and the text before the current group is final.
// - A pass deletes the group's own ")" exactly when the digit run after it starts with the
//   multiplier's rendering (no leading zero, or zeros only). Otherwise the ")" stays first and
//   the next pass rejects the formula, so it is rejected here.
// - The run after the last group may reach the end of the formula and go on into the copies
//   appended so far; it is read, and deleted, across that boundary as the passes would.
std::optional<std::string> ExpandGroups(std::string_view formula) {
    for (char c : formula) {
        if (!IsLetter(c) && !IsDigit(c) && c != '(' && c != ')') return std::nullopt;
    }
    std::string head;  // the final text before `cursor`
    std::string tail;  // the appended copies; tail[tailStart..] is still in the text
    std::size_t tailStart = 0;
    std::size_t cursor = 0;                 // first byte of the formula not yet passed
    std::size_t textSize = formula.size();  // length of the working text
    for (;;) {
        const std::size_t open = formula.find('(', cursor);
        const std::size_t close = formula.find(')', cursor);
        if (open == std::string_view::npos && close == std::string_view::npos) break;
        if (open == std::string_view::npos || close == std::string_view::npos || open > close) return std::nullopt;
        const std::string_view group = formula.substr(open + 1, close - open - 1);
        if (group.empty() || group.find('(') != std::string_view::npos) return std::nullopt;

        const std::size_t runEnd = DigitRunEnd(formula, close + 1);
        std::string run(formula.substr(close + 1, runEnd - close - 1));
        if (runEnd == formula.size()) {
            run.append(tail, tailStart, DigitRunEnd(tail, tailStart) - tailStart);
        }
        const std::optional<std::int32_t> multiplier = DecimalValue(run);
        if (!multiplier) return std::nullopt;
        const std::string rendering = NumberToText(std::int64_t{*multiplier});
        if (run.compare(0, rendering.size(), rendering) != 0) return std::nullopt;

        if (*multiplier > 1) {
            const std::size_t extra = static_cast<std::size_t>(*multiplier - 1) * group.size();
            if (extra > kMaxExpandedFormulaBytes || textSize + extra > kMaxExpandedFormulaBytes) return std::nullopt;
            for (std::int32_t copy = 1; copy < *multiplier; ++copy) tail.append(group);
            textSize += extra;
        }
        head.append(formula.substr(cursor, open - cursor));
        head.append(group);
        const std::size_t fromFormula = std::min(rendering.size(), runEnd - close - 1);
        cursor = close + 1 + fromFormula;
        tailStart += rendering.size() - fromFormula;
        textSize -= 2 + rendering.size();
    }
    head.append(formula.substr(cursor));
    head.append(tail, tailStart);
    return head;
}

bool ParseFormula(Species& species) {
    species.ResultCoefficients.Empty();
    species.ElementSymbols.Empty();
    species.ElementCounts.Empty();
    species.AtomTotal = 0;

    const std::optional<std::string> expanded = ExpandGroups(species.Formula);
    if (!expanded) return false;
    const std::string_view text = *expanded;

    // Symbols are equal exactly when their codes are, so entries are found by code. A formula
    // names a handful of elements: a linear search is fastest until there are many.
    std::vector<std::int32_t> codes;
    std::vector<std::int64_t> counts;
    std::vector<std::int32_t> slotOfCode;  // code -> entry + 1, built once codes outgrow the search
    constexpr std::size_t kLinearSearchEntries = 16;
    auto entryOf = [&](std::int32_t code) -> std::size_t {
        if (slotOfCode.empty()) {
            const auto found = std::find(codes.begin(), codes.end(), code);
            return static_cast<std::size_t>(found - codes.begin());
        }
        const std::int32_t slot = slotOfCode[static_cast<std::size_t>(code)];
        return slot == 0 ? codes.size() : static_cast<std::size_t>(slot - 1);
    };
    auto add = [&](std::string_view symbol, std::int64_t count) {
        const std::int32_t code = ElementCode(symbol);
        const std::size_t entry = entryOf(code);
        if (entry == codes.size()) {
            species.ElementSymbols.ListAppend(std::string(symbol));
            codes.push_back(code);
            counts.push_back(0);
            if (!slotOfCode.empty()) {
                slotOfCode[static_cast<std::size_t>(code)] = static_cast<std::int32_t>(codes.size());
            } else if (codes.size() > kLinearSearchEntries) {
                slotOfCode.assign(kElementCodeCount, 0);
                for (std::size_t k = 0; k < codes.size(); ++k) {
                    slotOfCode[static_cast<std::size_t>(codes[k])] = static_cast<std::int32_t>(k + 1);
                }
            }
        }
        std::int64_t& total = counts[entry];
        total += count;
        return total <= kMaxCount;
    };

    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (!IsLetter(c) || IsSmall(c)) return false;
        if (i + 1 == text.size()) {
            if (!add(text.substr(i, 1), 1)) return false;
            break;
        }
        const char x = text[i + 1];
        if (IsCapital(x)) {
            if (!add(text.substr(i, 1), 1)) return false;
            i += 1;
        } else if (IsSmall(x)) {
            const std::size_t runEnd = DigitRunEnd(text, i + 2);
            const std::optional<std::int32_t> count =
                runEnd == i + 2 ? std::optional<std::int32_t>(1) : DecimalValue(text.substr(i + 2, runEnd - i - 2));
            if (!count || !add(text.substr(i, 2), *count)) return false;
            i = runEnd;
        } else {
            // x is a digit (the run is not empty) or any other byte, which the next turn rejects.
            const std::size_t runEnd = DigitRunEnd(text, i + 1);
            const std::optional<std::int32_t> count = DecimalValue(text.substr(i + 1, runEnd - i - 1));
            if (!count || !add(text.substr(i, 1), *count)) return false;
            i = runEnd;
        }
    }
    for (std::int64_t count : counts) {
        species.ElementCounts.ListAppend(static_cast<std::int32_t>(count));
        species.AtomTotal += count;
    }
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

std::int32_t ElementCode(std::string_view symbol) {
    // Places in the alphabets count from 1; a character outside them counts 0.
    const std::int32_t first = !symbol.empty() && IsCapital(symbol[0]) ? symbol[0] - 'A' + 1 : 0;
    const std::int32_t second = symbol.size() == 2 && IsSmall(symbol[1]) ? symbol[1] - 'a' + 1 : 0;
    return 100 * first + second;
}

std::vector<std::int32_t> SortedElementCodes(const std::vector<std::string>& symbols) {
    std::vector<std::int32_t> codes;
    codes.reserve(symbols.size());
    for (const std::string& symbol : symbols) codes.push_back(ElementCode(symbol));
    SortIntegers(codes, false);
    return codes;
}

}  // namespace qivara
