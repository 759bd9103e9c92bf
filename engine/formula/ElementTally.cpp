#include "formula/ElementTally.h"

#include <algorithm>
#include <optional>

#include "formula/FormulaText.h"

namespace qivara {

using namespace formula_text;

namespace {

// A formula names a handful of elements: a linear search is fastest until there are many.
constexpr std::size_t kLinearSearchEntries = 16;

}  // namespace

bool ElementTally::Scan(std::string_view text, std::int64_t times) {
    // Every count fits 32 bits and so does `times`, so their product fits 63 bits.
    auto add = [&](std::string_view symbol, std::int32_t count) { return Add(symbol, std::int64_t{count} * times); };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (!IsCapital(c)) return false;
        if (i + 1 == text.size()) return add(text.substr(i, 1), 1);
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
    return true;
}

// Symbols are equal exactly when their codes are, so entries are found by code.
std::size_t ElementTally::EntryOf(std::int32_t code) const {
    if (m_slotOfCode.empty()) {
        return static_cast<std::size_t>(std::find(m_codes.begin(), m_codes.end(), code) - m_codes.begin());
    }
    const std::int32_t slot = m_slotOfCode[static_cast<std::size_t>(code)];
    return slot == 0 ? m_codes.size() : static_cast<std::size_t>(slot - 1);
}

bool ElementTally::Add(std::string_view symbol, std::int64_t atoms) {
    const std::int32_t code = ElementCode(symbol);
    const std::size_t entry = EntryOf(code);
    if (entry == m_codes.size()) {
        m_symbols.emplace_back(symbol);
        m_codes.push_back(code);
        m_counts.push_back(0);
        if (!m_slotOfCode.empty()) {
            m_slotOfCode[static_cast<std::size_t>(code)] = static_cast<std::int32_t>(m_codes.size());
        } else if (m_codes.size() > kLinearSearchEntries) {
            m_slotOfCode.assign(kElementCodeCount, 0);
            for (std::size_t k = 0; k < m_codes.size(); ++k) {
                m_slotOfCode[static_cast<std::size_t>(m_codes[k])] = static_cast<std::int32_t>(k + 1);
            }
        }
    }
    // Totals only grow, so checking after every addition rejects exactly when the final total
    // would pass the bound.
    std::int64_t& total = m_counts[entry];
    total += atoms;
    return total <= kMaxCount;
}

void ElementTally::MoveTo(Species& species) {
    species.ElementSymbols.Items() = std::move(m_symbols);
    species.ElementCounts.Empty();
    species.AtomTotal = 0;
    for (std::int64_t count : m_counts) {
        species.ElementCounts.ListAppend(static_cast<std::int32_t>(count));
        species.AtomTotal += count;
    }
    m_symbols.clear();
    m_codes.clear();
    m_counts.clear();
    m_slotOfCode.clear();
}

}  // namespace qivara
