#pragma once
// Character classes and digit runs of the formula language, shared by the group sweep and the
// symbol scan, and the element codes by which symbols are compared. ASCII only: any other byte
// belongs to no class.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace qivara::formula_text {

// Counts, multipliers and accumulated element counts above this are rejected.
inline constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsSmall(char c) { return c >= 'a' && c <= 'z'; }
inline bool IsLetter(char c) { return IsCapital(c) || IsSmall(c); }

// Decimal value of a digit run, or nullopt beyond 32 bits.
inline std::optional<std::int32_t> DecimalValue(std::string_view digits) {
    std::int64_t value = 0;
    for (char digit : digits) {
        value = value * 10 + (digit - '0');
        if (value > kMaxCount) return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// End of the run of digits that starts at `from` (`from` itself when there is none).
inline std::size_t DigitRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && IsDigit(text[from])) ++from;
    return from;
}

}  // namespace qivara::formula_text

namespace qivara {

// 100 x (place of the first letter in A..Z) + (place of the second letter in a..z, or 0). A
// character outside those alphabets counts 0.
inline std::int32_t ElementCode(std::string_view symbol) {
    using formula_text::IsCapital, formula_text::IsSmall;
    const std::int32_t first = !symbol.empty() && IsCapital(symbol[0]) ? symbol[0] - 'A' + 1 : 0;
    const std::int32_t second = symbol.size() == 2 && IsSmall(symbol[1]) ? symbol[1] - 'a' + 1 : 0;
    return 100 * first + second;
}

// Every code is below this: 100 x 26 + 26 = 2626.
inline constexpr std::size_t kElementCodeCount = 2700;

}  // namespace qivara
