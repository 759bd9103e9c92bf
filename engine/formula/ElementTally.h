#pragma once
// The symbol scan of the formula language and the element counts it adds up.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formula/Species.h"

namespace qivara {

// Distinct element symbols in order of first appearance, each with its atoms so far. Every total
// stays within 2^31-1: a scan that would pass it fails.
class ElementTally {
public:
    // Scans `text` symbol by symbol and adds every count `times` over (times from 1 to 2^31-1).
    // False when the text breaks the language, or a count or an element's total passes 2^31-1;
    // the tally is then incomplete and only good for discarding.
    bool Scan(std::string_view text, std::int64_t times);

    // Moves the symbols and counts into the species' lists and sets its AtomTotal.
    void MoveTo(Species& species);

private:
    bool Add(std::string_view symbol, std::int64_t atoms);
    std::size_t EntryOf(std::int32_t code) const;

    std::vector<std::string> m_symbols;
    std::vector<std::int32_t> m_codes;  // ElementCode of each symbol
    std::vector<std::int64_t> m_counts;
    std::vector<std::int32_t> m_slotOfCode;  // code -> entry + 1, built once the codes outgrow the search
};

}  // namespace qivara
