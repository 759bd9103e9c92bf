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

// sum_{i=0}^{n-1} floor((a i + b) / m) for n >= 0 and m > 0, by the Euclid-like reduction: once
// 0 <= a, b < m, the sum counts the lattice points under a line, which is the same count with the
// axes swapped, taken with (m, a) in place of (a, m); so it ends after O(log m) rounds.
Wide FloorSum(Wide n, Wide m, Wide a, Wide b) {
    Wide sum = 0;
    const auto takeWhole = [&] {
        const Wide qa = exact::FloorDiv(a, m);
        const Wide qb = exact::FloorDiv(b, m);
        sum += qa * (n * (n - 1) / 2) + qb * n;
        a -= qa * m;
        b -= qb * m;
    };
    takeWhole();  // also makes a negative a or b non-negative
    while (true) {
        const Wide top = a * n + b;  // the line's height at n, below m (n + 1)
        if (top < m) return sum;
        n = top / m;
        b = top % m;
        std::swap(m, a);
        takeWhole();
    }
}

template <typename T>
Wide ToWide(const T& v) {
    if constexpr (std::is_same_v<T, Int>) {
        return exact::Widened(v);
    } else {
        return v;
    }
}

// The least t in [from, last] at which an integer s fits low's lower end and high's upper end,
// for a range where their real gap for s, [A(t), B(t)], is never empty. The number of integers
// in it is then floor(B(t)) - ceil(A(t)) + 1 (>= 0), so the count over [from, T] is a sum of two
// floor sums plus a length, which never falls as T grows: the answer is the least T at which it
// reaches 1, found by doubling and bisection. Taken in wide integers, where the sums cannot overflow.
template <typename T>
std::optional<T> FirstFitting(const PairBoundOf<T>& low, const PairBoundOf<T>& high, const T& from, const T& last,
                              const std::stop_token& stop) {
    const Wide p = ToWide(from);
    const Wide a1 = ToWide(low.alpha), b1 = ToWide(low.beta);
    const Wide a2 = ToWide(high.alpha), b2 = ToWide(high.beta);
    const Wide ceilBase = a1 * p - ToWide(low.lower);    // ceil(A(p + i)) = -floor((ceilBase + a1 i) / b1)
    const Wide floorBase = ToWide(high.upper) - a2 * p;  // floor(B(p + i)) = floor((floorBase - a2 i) / b2)
    const auto fits = [&](const Wide& n) {               // some t in [p, p + n) holds an integer s
        return FloorSum(n, b2, -a2, floorBase) + FloorSum(n, b1, a1, ceilBase) + n >= 1;
    };
    const Wide total = ToWide(last) - p + 1;
    Wide none = 0;  // no t in [p, p + none) fits
    Wide step = 1;
    Wide some;  // some t in [p, p + some) fits
    while (true) {
        if (stop.stop_requested()) return std::nullopt;
        some = std::min(total, none + step);
        if (fits(some)) break;
        if (some == total) return std::nullopt;
        none = some;
        step *= 2;
    }
    while (some - none > 1) {
        if (stop.stop_requested()) return std::nullopt;
        const Wide middle = none + (some - none) / 2;
        (fits(middle) ? some : none) = middle;
    }
    const Wide answer = p + none;
    if constexpr (std::is_same_v<T, Int>) {
        return exact::Narrowed(answer);
    } else {
        return answer;
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
    // Most answers are a few steps away: try those one by one, and only then count.
    constexpr int kTried = 32;
    const auto& [first, last] = *window;
    t = first;
    for (int k = 0; k < kTried; ++k, t = exact::Add(t, 1)) {
        if (t > last || stop.stop_requested()) return std::nullopt;
        if (LowestLast(low, t) <= HighestLast(high, t)) return t;
    }
    if (t > last) return std::nullopt;
    return FirstFitting(low, high, t, last, stop);
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
