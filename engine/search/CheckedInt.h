#pragma once
// Exact 128-bit integer arithmetic for the lattice search: every operation that could leave the
// 128-bit range throws ArithmeticOverflow instead of wrapping, and division rounds exactly
// (floor or ceiling of the real quotient, whatever the signs), unlike the built-in `/`.

#include <cstdint>
#include <stdexcept>

namespace qivara::exact {

using Int = __int128;

// Thrown when a result does not fit 128 bits; the caller falls back to a slower exact path.
struct ArithmeticOverflow : std::overflow_error {
    ArithmeticOverflow() : std::overflow_error("128-bit overflow in the lattice search") {}
};

inline constexpr Int kIntMax = static_cast<Int>(~static_cast<unsigned __int128>(0) >> 1);
inline constexpr Int kIntMin = -kIntMax - 1;

inline Int Add(Int a, Int b) {
    Int r;
    if (__builtin_add_overflow(a, b, &r)) throw ArithmeticOverflow{};
    return r;
}

inline Int Sub(Int a, Int b) {
    Int r;
    if (__builtin_sub_overflow(a, b, &r)) throw ArithmeticOverflow{};
    return r;
}

// True when v fits 64 bits: the operations below then take the machine's fast 64-bit path,
// since 128-bit multiplication and division are library calls.
inline bool Fits64(Int v) { return static_cast<std::int64_t>(v) == v; }

inline Int Mul(Int a, Int b) {
    std::int64_t r64;
    if (Fits64(a) && Fits64(b) &&
        !__builtin_mul_overflow(static_cast<std::int64_t>(a), static_cast<std::int64_t>(b), &r64))
        return r64;
    Int r;
    if (__builtin_mul_overflow(a, b, &r)) throw ArithmeticOverflow{};
    return r;
}

inline Int Neg(Int a) { return Sub(0, a); }

inline Int Abs(Int a) { return a < 0 ? Neg(a) : a; }

// floor(a / b) for b != 0.
inline Int FloorDiv(Int a, Int b) {
    if (b == -1) return Neg(a);  // kIntMin / -1 would overflow inside `/`
    if (Fits64(a) && Fits64(b)) {
        const auto a64 = static_cast<std::int64_t>(a);
        const auto b64 = static_cast<std::int64_t>(b);
        const std::int64_t q = a64 / b64;
        return (a64 % b64 != 0 && ((a64 < 0) != (b64 < 0))) ? q - 1 : q;
    }
    const Int q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// ceil(a / b) for b != 0.
inline Int CeilDiv(Int a, Int b) {
    if (b == -1) return Neg(a);
    if (Fits64(a) && Fits64(b)) {
        const auto a64 = static_cast<std::int64_t>(a);
        const auto b64 = static_cast<std::int64_t>(b);
        const std::int64_t q = a64 / b64;
        return (a64 % b64 != 0 && ((a64 < 0) == (b64 < 0))) ? q + 1 : q;
    }
    const Int q = a / b;
    return (a % b != 0 && ((a < 0) == (b < 0))) ? q + 1 : q;
}

// a / b rounded toward zero, for b != 0 and a quotient that is known to fit.
inline Int Quotient(Int a, Int b) {
    if (Fits64(a) && Fits64(b) && b != -1) return static_cast<std::int64_t>(a) / static_cast<std::int64_t>(b);
    return a / b;
}

// Greatest common divisor of |a| and |b|; Gcd(0, 0) is 0.
inline Int Gcd(Int a, Int b) {
    a = Abs(a);
    b = Abs(b);
    if (a <= INT64_MAX && b <= INT64_MAX) {
        auto x = static_cast<std::uint64_t>(a);
        auto y = static_cast<std::uint64_t>(b);
        while (y != 0) {
            const std::uint64_t r = x % y;
            x = y;
            y = r;
        }
        return static_cast<Int>(x);
    }
    while (b != 0) {
        const Int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

}  // namespace qivara::exact
