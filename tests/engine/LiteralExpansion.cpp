#include "LiteralExpansion.h"

#include "FormulaParser.h"
#include "Numbers.h"
#include "Text.h"

namespace qivara::testing_oracle {

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

}  // namespace qivara::testing_oracle
