#include "search/LastLevelJump.h"

#include <algorithm>
#include <utility>

#include "search/WalkBounds.h"

namespace qivara::walk {
namespace {

using exact::Wide;

// The candidates [first, last] within [t, hi] that the pair of bounds leaves over the reals, and
// the period after which the gap between them repeats (0: none known); nullopt when no t is left.
// Over the reals s fits when (lower_low - alpha_low t)/beta_low <= (upper_high - alpha_high t)/beta_high,
// i.e. slope t <= reach. The gap's width changes by |slope|/(beta_low beta_high) per step,
// so within beta_low beta_high steps of the start it is 1 or more (an integer fits) unless
// it shrinks; with slope 0 it is periodic with period dividing beta_low beta_high.
template <typename T>
std::optional<std::pair<T, T>> Candidates(const PairBoundOf<T>& low, const PairBoundOf<T>& high, T t, T last) {
    const T slope = exact::Sub(exact::Mul(low.beta, high.alpha), exact::Mul(high.beta, low.alpha));
    const T reach = exact::Sub(exact::Mul(low.beta, high.upper), exact::Mul(high.beta, low.lower));
    if (slope > 0) {
        last = std::min(last, exact::FloorDiv(reach, slope));
    } else if (slope < 0) {
        t = std::max(t, exact::CeilDiv(reach, slope));
    } else {
        if (reach < 0) return std::nullopt;
        const T period = exact::Mul(low.beta, high.beta);
        if (exact::Sub(last, t) >= period) last = exact::Sub(exact::Add(t, period), 1);
    }
    if (t > last) return std::nullopt;
    return std::pair{t, last};
}

// The 128-bit walk's candidates: the products may pass 128 bits while the answer, inside [t, hi],
// does not; those are taken in wide integers.
std::optional<std::pair<Int, Int>> CandidatesFitting(const PairBound& low, const PairBound& high, Int t, Int hi) {
    try {
        return Candidates(low, high, t, hi);
    } catch (const exact::ArithmeticOverflow&) {
        const auto widen = [](const PairBound& b) {
            return PairBoundOf<Wide>{exact::Widened(b.alpha), exact::Widened(b.beta), exact::Widened(b.lower),
                                     exact::Widened(b.upper)};
        };
        const std::optional<std::pair<Wide, Wide>> wide =
            Candidates(widen(low), widen(high), exact::Widened(t), exact::Widened(hi));
        if (!wide) return std::nullopt;
        return std::pair{exact::Narrowed(wide->first), exact::Narrowed(wide->second)};
    }
}

}  // namespace

template <typename T>
PairBoundOf<T> MakePairBound(const std::type_identity_t<T>& alpha, const std::type_identity_t<T>& beta,
                             const std::type_identity_t<T>& lower, const std::type_identity_t<T>& upper) {
    if (beta > 0) return {alpha, beta, lower, upper};
    return {exact::Neg(alpha), exact::Neg(beta), exact::Neg(upper), exact::Neg(lower)};
}

template <typename T>
T LowestLast(const PairBoundOf<T>& bound, const T& t) {
    return exact::CeilDiv(exact::Sub(bound.lower, exact::Mul(bound.alpha, t)), bound.beta);
}

template <typename T>
T HighestLast(const PairBoundOf<T>& bound, const T& t) {
    return exact::FloorDiv(exact::Sub(bound.upper, exact::Mul(bound.alpha, t)), bound.beta);
}

template <typename T>
std::optional<T> NextPairCompletable(const PairBoundOf<T>& low, const PairBoundOf<T>& high, T t, const T& hi,
                                     const std::stop_token& stop) {
    std::optional<std::pair<T, T>> window;
    if constexpr (std::is_same_v<T, Int>) {
        window = CandidatesFitting(low, high, t, hi);
    } else {
        window = Candidates(low, high, t, hi);
    }
    if (!window) return std::nullopt;
    for (t = window->first; t <= window->second; t = exact::Add(t, 1)) {
        if (stop.stop_requested()) return std::nullopt;
        if (LowestLast(low, t) <= HighestLast(high, t)) return t;
    }
    return std::nullopt;
}

template <typename T>
std::optional<T> NextCompletable(const std::vector<PairBoundOf<T>>& bounds, T t, const T& hi,
                                 const std::stop_token& stop) {
    while (t <= hi) {
        if (stop.stop_requested()) return std::nullopt;
        std::size_t low = 0;
        std::size_t high = 0;
        T lowest = -Unbounded<T>();
        T highest = Unbounded<T>();
        for (std::size_t k = 0; k < bounds.size(); ++k) {
            const T l = LowestLast(bounds[k], t);
            const T h = HighestLast(bounds[k], t);
            if (l > lowest) lowest = l, low = k;
            if (h < highest) highest = h, high = k;
        }
        if (lowest <= highest) return t;
        // No s fits at t because of these two bounds; every later t they rule out is out too.
        const std::optional<T> next = NextPairCompletable(bounds[low], bounds[high], exact::Add(t, 1), hi, stop);
        if (!next) return std::nullopt;
        t = *next;
    }
    return std::nullopt;
}

#define QIVARA_LAST_LEVEL_JUMP(T)                                                                            \
    template PairBoundOf<T> MakePairBound<T>(const T&, const T&, const T&, const T&);                        \
    template T LowestLast(const PairBoundOf<T>&, const T&);                                                  \
    template T HighestLast(const PairBoundOf<T>&, const T&);                                                 \
    template std::optional<T> NextPairCompletable(const PairBoundOf<T>&, const PairBoundOf<T>&, T, const T&, \
                                                  const std::stop_token&);                                   \
    template std::optional<T> NextCompletable(const std::vector<PairBoundOf<T>>&, T, const T&, const std::stop_token&);
QIVARA_LAST_LEVEL_JUMP(exact::Int)
QIVARA_LAST_LEVEL_JUMP(exact::Wide)
#undef QIVARA_LAST_LEVEL_JUMP

}  // namespace qivara::walk
