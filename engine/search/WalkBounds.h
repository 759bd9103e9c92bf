#pragma once
// Interval arithmetic the lattice walk's levels share: narrowing a parameter's range by one linear
// bound, exactly.

#include <algorithm>

#include "search/CheckedInt.h"

namespace qivara::walk {

using exact::Int;

// Interval bounds never exceed the box by much; this stands for "no bound yet" without overflow.
inline constexpr Int kUnbounded = static_cast<Int>(1) << 100;

// Narrows [lo, hi] to the t with lower <= g t + f <= upper (empties it, hi < lo, when none fits).
inline void Narrow(Int g, Int f, Int lower, Int upper, Int& lo, Int& hi) {
    if (g == 0) {
        if (f < lower || f > upper) hi = lo - 1;
        return;
    }
    const Int a = exact::Sub(lower, f);
    const Int b = exact::Sub(upper, f);
    if (g > 0) {
        lo = std::max(lo, exact::CeilDiv(a, g));
        hi = std::min(hi, exact::FloorDiv(b, g));
    } else {
        lo = std::max(lo, exact::CeilDiv(b, g));
        hi = std::min(hi, exact::FloorDiv(a, g));
    }
}

}  // namespace qivara::walk
