#pragma once
// Interval arithmetic the lattice walk's levels share: narrowing a parameter's range by one linear
// bound, exactly, in either of the search's integer widths.

#include <algorithm>
#include <type_traits>

#include "search/CheckedInt.h"
#include "search/WideInt.h"

namespace qivara::walk {

using exact::Int;

// Interval bounds never exceed the box by much; this stands for "no bound yet" without overflow.
inline constexpr Int kUnbounded = static_cast<Int>(1) << 100;

template <typename T>
T Unbounded() {
    if constexpr (std::is_same_v<T, Int>) {
        return kUnbounded;
    } else {
        return exact::Widened(kUnbounded);
    }
}

// Narrows [lo, hi] to the t with lower <= g t + f <= upper (empties it, hi < lo, when none fits).
// T is taken from lo and hi, so constants may be passed for the others.
template <typename T>
void Narrow(const std::type_identity_t<T>& g, const std::type_identity_t<T>& f, const std::type_identity_t<T>& lower,
            const std::type_identity_t<T>& upper, T& lo, T& hi) {
    if (g == 0) {
        if (f < lower || f > upper) hi = lo - 1;
        return;
    }
    const T a = exact::Sub(lower, f);
    const T b = exact::Sub(upper, f);
    if (g > 0) {
        lo = std::max(lo, exact::CeilDiv(a, g));
        hi = std::min(hi, exact::FloorDiv(b, g));
    } else {
        lo = std::max(lo, exact::CeilDiv(b, g));
        hi = std::min(hi, exact::FloorDiv(a, g));
    }
}

}  // namespace qivara::walk
