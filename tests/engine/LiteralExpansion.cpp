#include "LiteralExpansion.h"

#include "Numbers.h"
#include "Text.h"
#include "formula/FormulaParser.h"
#include "formula/GroupSweep.h"

namespace qivara::test {

std::optional<std::string> LiteralExpandGroups(std::string_view formula) {
    std::string w(formula);
    for (;;) {
        const std::int32_t p = TextFind(w, "(", 1, 1);
        const std::int32_t q = TextFind(w, ")", 1, 1);
        if (p == -1 && q == -1) return w;
        if (p > q) return std::nullopt;
        const std::string group = TextBetween(w, "(", ")");
        if (group.empty() || TextFind(group, "(") != -1 || TextFind(group, ")") != -1) return std::nullopt;
        std::int64_t m = 0;
        for (std::size_t at = static_cast<std::size_t>(q); at < w.size() && w[at] >= '0' && w[at] <= '9'; ++at) {
            m = m * 10 + (w[at] - '0');
            if (m > 2147483647) return std::nullopt;
        }
        if (m > 1) {
            if (w.size() + static_cast<std::size_t>(m - 1) * group.size() > kMaxExpandedFormulaBytes)
                return std::nullopt;
            for (std::int64_t copy = 1; copy < m; ++copy) w += group;
        }
        w = TextReplace(w, "(", "", 1, true);
        w = TextReplace(w, ")" + NumberToText(m), "", 1, true);
    }
}

std::optional<Composition> LiteralParseFormula(std::string_view formula) {
    const std::optional<std::string> text = LiteralExpandGroups(formula);
    if (!text) return std::nullopt;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    Composition result;
    std::vector<std::int64_t> totals;
    for (std::size_t i = 0; i < text->size();) {
        if ((*text)[i] < 'A' || (*text)[i] > 'Z') return std::nullopt;
        std::size_t end = i + 1;
        if (end < text->size() && (*text)[end] >= 'a' && (*text)[end] <= 'z') ++end;
        const std::string symbol = text->substr(i, end - i);
        std::int64_t count = end < text->size() && isDigit((*text)[end]) ? 0 : 1;
        for (; end < text->size() && isDigit((*text)[end]); ++end) {
            count = count * 10 + ((*text)[end] - '0');
            if (count > 2147483647) return std::nullopt;
        }
        std::size_t k = 0;
        while (k < result.symbols.size() && result.symbols[k] != symbol) ++k;
        if (k == result.symbols.size()) {
            result.symbols.push_back(symbol);
            totals.push_back(0);
        }
        totals[k] += count;
        if (totals[k] > 2147483647) return std::nullopt;
        i = end;
    }
    for (std::int64_t total : totals) result.counts.push_back(static_cast<std::int32_t>(total));
    return result;
}

}  // namespace qivara::test
