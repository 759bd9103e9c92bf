#include "Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "FatalError.h"

namespace qivara {
namespace {

std::string FoldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto first = static_cast<unsigned char>(text[at]);
        if (first < 0x80) {
            folded.push_back(text[at]);
            at += 1;
            continue;
        }
        if (at + 1 == text.size()) break;  // a first byte at the very end ends the walk
        const auto second = static_cast<unsigned char>(text[at + 1]);
        if (first == 0xA1 && second == 0xA1) {
            folded.push_back(' ');
        } else if (first == 0xA1 && second == 0xAB) {
            folded.push_back('~');
        } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
            folded.push_back('*');
        } else if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
            folded.push_back(static_cast<char>(second & 0x7F));
        } else {
            folded.append(text.substr(at, 2));
        }
        at += 2;
    }
    return folded;
}

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::int32_t TextToInteger(std::string_view text) {
    const std::string folded = FoldFullWidth(text);
    std::size_t at = 0;
    while (at < folded.size() && IsCSpace(folded[at])) ++at;
    bool negative = false;
    if (at < folded.size() && (folded[at] == '+' || folded[at] == '-')) {
        negative = folded[at] == '-';
        ++at;
    }
    // Accumulate the magnitude with saturation one past INT32_MAX, enough to clamp both ends.
    constexpr std::int64_t kCeiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < folded.size() && folded[at] >= '0' && folded[at] <= '9'; ++at) {
        magnitude = std::min(kCeiling, magnitude * 10 + (folded[at] - '0'));
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::string NumberToText(std::int64_t value) { return std::to_string(value); }

std::string NumberToText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    std::string text(buffer);
    const std::size_t e = text.find('e');
    if (e == std::string::npos || e + 1 >= text.size()) return text;
    const std::size_t digits = e + 2;  // after the exponent's sign, which %g always writes
    const std::size_t count = text.size() - digits;
    if (count < 3) text.insert(digits, 3 - count, '0');
    return text;
}

std::int32_t RealToInteger(double value) {
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated)) return 0;
    // Keep the low 32 bits of the truncated value without a narrowing overflow.
    const double wrapped = std::fmod(truncated, 4294967296.0);
    const auto low = static_cast<std::int64_t>(wrapped);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low));
}

double RealRemainder(double a, double b) {
    if (b == 0.0) RaiseFatalError(0, "不能求余数于零");
    return std::fmod(a, b);  // exact, with the sign of a
}

void SortIntegers(std::vector<std::int32_t>& values, bool ascending) {
    if (ascending) {
        std::sort(values.begin(), values.end());
    } else {
        std::sort(values.begin(), values.end(), std::greater<>());
    }
}

}  // namespace qivara
