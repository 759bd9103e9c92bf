#pragma once
// The last-level jump of the lattice walk: at the last-but-one level, the next value t whose last
// level s is left a non-empty interval, found without trying every t in between.

#include <optional>
#include <stop_token>
#include <type_traits>
#include <vector>

#include "search/CheckedInt.h"
#include "search/WideInt.h"

namespace qivara::walk {

// One bound on the last two parameters, normalised to beta > 0: lower <= alpha t + beta s <= upper.
template <typename T>
struct PairBoundOf {
    T alpha, beta, lower, upper;
};
using PairBound = PairBoundOf<exact::Int>;

// The bound lower <= alpha t + beta s <= upper for any beta != 0, turned so that beta > 0. The
// width is named, MakePairBound<T>(...), except for the 128-bit overload below.
template <typename T>
PairBoundOf<T> MakePairBound(const std::type_identity_t<T>& alpha, const std::type_identity_t<T>& beta,
                             const std::type_identity_t<T>& lower, const std::type_identity_t<T>& upper);

inline PairBound MakePairBound(exact::Int alpha, exact::Int beta, exact::Int lower, exact::Int upper) {
    return MakePairBound<exact::Int>(alpha, beta, lower, upper);
}

// Smallest s with lower <= alpha t + beta s; largest s with alpha t + beta s <= upper.
template <typename T>
T LowestLast(const PairBoundOf<T>& bound, const T& t);
template <typename T>
T HighestLast(const PairBoundOf<T>& bound, const T& t);

// The least t in [t, hi] for which some s satisfies `low`'s lower end and `high`'s upper end,
// nullopt when there is none or a stop is requested (polled in its loops). The first few t are
// tried one by one; beyond them the t that hold an integer s are counted, so an answer far away
// takes O(log^2) steps, not one per t. The products of two bounds' coefficients that this takes
// may leave 128 bits: they are then taken in wide integers.
template <typename T>
std::optional<T> NextPairCompletable(const PairBoundOf<T>& low, const PairBoundOf<T>& high, T t, const T& hi,
                                     const std::stop_token& stop);

// The least t in [t, hi] for which some s satisfies every bound, nullopt when there is none or a
// stop is requested. Each failing t names the two bounds that rule it out, and the t those two
// rule out are skipped in one go.
template <typename T>
std::optional<T> NextCompletable(const std::vector<PairBoundOf<T>>& bounds, T t, const T& hi,
                                 const std::stop_token& stop);

}  // namespace qivara::walk
