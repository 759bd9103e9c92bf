#pragma once
// Number primitives: text to integer and back, real remainder, integer sorting.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qivara {

// Folds full-width characters first (A1 A1 space, A1 AB "~", A1 EE / A1 EF "*", A3 xx the byte
// xx & 0x7F, so full-width digits and signs become ASCII), then reads an optional sign and decimal
// digits after leading white space; no digit gives 0. Values beyond the 32-bit range are clamped
// to INT32_MIN / INT32_MAX, so "99999999999" gives 2147483647.
std::int32_t TextToInteger(std::string_view text);

// Decimal, "%d".
std::string NumberToText(std::int64_t value);

// "%.13g", with the exponent widened to at least three digits (1e+013), the same on every C library.
std::string NumberToText(double value);

// Truncation toward zero, keeping the low 32 bits as the callers do.
std::int32_t RealToInteger(double value);

// Exact remainder with the sign of a. A divisor of exactly 0 is fatal runtime error 0.
double RealRemainder(double a, double b);

void SortIntegers(std::vector<std::int32_t>& values, bool ascending);

}  // namespace qivara
