#pragma once
// The last-level jump of the lattice walk: at the last-but-one level, the next value t whose last
// level s is left a non-empty interval, found without trying every t in between.

#include <optional>
#include <stop_token>
#include <vector>

#include "search/CheckedInt.h"

namespace qivara::walk {

// One bound on the last two parameters, normalised to beta > 0: lower <= alpha t + beta s <= upper.
struct PairBound {
    exact::Int alpha, beta, lower, upper;
};

// The bound lower <= alpha t + beta s <= upper for any beta != 0, turned so that beta > 0.
PairBound MakePairBound(exact::Int alpha, exact::Int beta, exact::Int lower, exact::Int upper);

// Smallest s with lower <= alpha t + beta s; largest s with alpha t + beta s <= upper.
exact::Int LowestLast(const PairBound& bound, exact::Int t);
exact::Int HighestLast(const PairBound& bound, exact::Int t);

// The least t in [t, hi] for which some s satisfies `low`'s lower end and `high`'s upper end,
// nullopt when there is none or a stop is requested (polled in its loop).
std::optional<exact::Int> NextPairCompletable(const PairBound& low, const PairBound& high, exact::Int t, exact::Int hi,
                                              const std::stop_token& stop);

// The least t in [t, hi] for which some s satisfies every bound, nullopt when there is none or a
// stop is requested. Each failing t names the two bounds that rule it out, and the t those two
// rule out are skipped in one go.
std::optional<exact::Int> NextCompletable(const std::vector<PairBound>& bounds, exact::Int t, exact::Int hi,
                                          const std::stop_token& stop);

}  // namespace qivara::walk
