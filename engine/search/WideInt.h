#pragma once
// Exact integers of any width for the rare lattice whose values leave 128 bits: the same
// operations as CheckedInt.h (never overflowing, division rounding exactly), so the walk's code is
// written once for both. Header-only (Boost.Multiprecision), so the search still links nothing.

#include <boost/multiprecision/cpp_int.hpp>

#include "search/CheckedInt.h"

namespace qivara::exact {

// Expression templates off: a Wide behaves like a plain value in std::min, auto and lambdas.
using Wide = boost::multiprecision::number<boost::multiprecision::cpp_int_backend<>, boost::multiprecision::et_off>;

inline Wide Add(const Wide& a, const Wide& b) { return a + b; }
inline Wide Sub(const Wide& a, const Wide& b) { return a - b; }
inline Wide Mul(const Wide& a, const Wide& b) { return a * b; }
inline Wide Neg(const Wide& a) { return -a; }
inline Wide Abs(const Wide& a) { return a < 0 ? Wide(-a) : a; }

// floor(a / b) and ceil(a / b) for b != 0; the library's `/` truncates toward zero.
inline Wide FloorDiv(const Wide& a, const Wide& b) {
    Wide q, r;
    boost::multiprecision::divide_qr(a, b, q, r);
    return (r != 0 && ((r < 0) != (b < 0))) ? Wide(q - 1) : q;
}

inline Wide CeilDiv(const Wide& a, const Wide& b) {
    Wide q, r;
    boost::multiprecision::divide_qr(a, b, q, r);
    return (r != 0 && ((r < 0) == (b < 0))) ? Wide(q + 1) : q;
}

inline Wide Quotient(const Wide& a, const Wide& b) { return a / b; }

inline Wide Gcd(const Wide& a, const Wide& b) { return boost::multiprecision::gcd(a, b); }

// The value as a 128-bit integer; throws ArithmeticOverflow when it does not fit.
inline Int Narrowed(const Wide& a) {
    if (a > kIntMax || a < kIntMin) throw ArithmeticOverflow{};
    const Wide magnitude = Abs(a);
    const auto low = static_cast<std::uint64_t>(magnitude & Wide(~std::uint64_t{0}));
    const auto high = static_cast<std::uint64_t>(magnitude >> 64);
    const auto value = static_cast<unsigned __int128>(high) << 64 | low;
    return a < 0 ? static_cast<Int>(-value) : static_cast<Int>(value);
}

// Built by multiplication rather than a shift of a temporary: GCC 12 with AddressSanitizer warns,
// wrongly, that the shifted temporary's limbs may be uninitialised.
inline Wide Widened(Int a) {
    const auto magnitude = a < 0 ? -static_cast<unsigned __int128>(a) : static_cast<unsigned __int128>(a);
    Wide value(static_cast<std::uint64_t>(magnitude >> 64));
    value *= Wide(std::uint64_t{1} << 32);
    value *= Wide(std::uint64_t{1} << 32);
    value += Wide(static_cast<std::uint64_t>(magnitude));
    return a < 0 ? Wide(-value) : value;
}

}  // namespace qivara::exact
