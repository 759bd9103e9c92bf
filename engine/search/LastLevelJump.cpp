#include "search/LastLevelJump.h"

#include <algorithm>

#include "search/WalkBounds.h"

namespace qivara::walk {

PairBound MakePairBound(Int alpha, Int beta, Int lower, Int upper) {
    if (beta > 0) return {alpha, beta, lower, upper};
    return {exact::Neg(alpha), exact::Neg(beta), exact::Neg(upper), exact::Neg(lower)};
}

Int LowestLast(const PairBound& bound, Int t) {
    return exact::CeilDiv(exact::Sub(bound.lower, exact::Mul(bound.alpha, t)), bound.beta);
}

Int HighestLast(const PairBound& bound, Int t) {
    return exact::FloorDiv(exact::Sub(bound.upper, exact::Mul(bound.alpha, t)), bound.beta);
}

std::optional<Int> NextPairCompletable(const PairBound& low, const PairBound& high, Int t, Int hi,
                                       const std::stop_token& stop) {
    // Over the reals s fits when (lower_low - alpha_low t)/beta_low <= (upper_high - alpha_high t)/beta_high,
    // i.e. slope t <= reach. The gap's width changes by |slope|/(beta_low beta_high) per step,
    // so within beta_low beta_high steps of the start it is 1 or more (an integer fits) unless
    // it shrinks; with slope 0 it is periodic with period dividing beta_low beta_high.
    const Int slope = exact::Sub(exact::Mul(low.beta, high.alpha), exact::Mul(high.beta, low.alpha));
    const Int reach = exact::Sub(exact::Mul(low.beta, high.upper), exact::Mul(high.beta, low.lower));
    Int last = hi;
    if (slope > 0) {
        last = std::min(last, exact::FloorDiv(reach, slope));
    } else if (slope < 0) {
        t = std::max(t, exact::CeilDiv(reach, slope));
    } else {
        if (reach < 0) return std::nullopt;
        Int period = kUnbounded;
        if (!__builtin_mul_overflow(low.beta, high.beta, &period) && exact::Sub(last, t) >= period)
            last = t + period - 1;
    }
    for (; t <= last; ++t) {
        if (stop.stop_requested()) return std::nullopt;
        if (LowestLast(low, t) <= HighestLast(high, t)) return t;
    }
    return std::nullopt;
}

std::optional<Int> NextCompletable(const std::vector<PairBound>& bounds, Int t, Int hi, const std::stop_token& stop) {
    while (t <= hi) {
        if (stop.stop_requested()) return std::nullopt;
        std::size_t low = 0;
        std::size_t high = 0;
        Int lowest = -kUnbounded;
        Int highest = kUnbounded;
        for (std::size_t k = 0; k < bounds.size(); ++k) {
            const Int l = LowestLast(bounds[k], t);
            const Int h = HighestLast(bounds[k], t);
            if (l > lowest) lowest = l, low = k;
            if (h < highest) highest = h, high = k;
        }
        if (lowest <= highest) return t;
        // No s fits at t because of these two bounds; every later t they rule out is out too.
        const std::optional<Int> next = NextPairCompletable(bounds[low], bounds[high], exact::Add(t, 1), hi, stop);
        if (!next) return std::nullopt;
        t = *next;
    }
    return std::nullopt;
}

}  // namespace qivara::walk
