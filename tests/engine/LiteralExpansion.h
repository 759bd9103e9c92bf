#pragma once
// Test oracle: the group expansion pass by pass, on the whole working text, with no shortcut, and
// the symbol scan over that text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qivara::test {

std::optional<std::string> LiteralExpandGroups(std::string_view formula);

struct Composition {
    std::vector<std::string> symbols;  // in order of first appearance
    std::vector<std::int32_t> counts;
    bool operator==(const Composition&) const = default;
};

// The symbols and counts of the literally expanded text, or nullopt when the formula is rejected.
std::optional<Composition> LiteralParseFormula(std::string_view formula);

}  // namespace qivara::test
