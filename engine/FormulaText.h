#pragma once
// Character classes and digit runs of the formula language, shared by the group sweep and the
// symbol scan. ASCII only: any other byte belongs to no class.

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
