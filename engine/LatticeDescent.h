#pragma once
// Depth-first walk over the points of an integer kernel inside the box [1, L]^n, in
// lexicographic order of the coordinates.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <unordered_set>
#include <vector>

#include "IntegerKernel.h"

namespace qivara {

// Walks x = t_0 b_0 + ... + t_{d-1} b_{d-1} with t_0 rising, then t_1 rising below each t_0, and
// so on: because the basis is in echelon form that is lexicographic order of x. Each level's t
// runs over an interval cut out by the box bounds of the coordinates it fixes and by a look-ahead
// over `relations` (vectors u with u.x = 0 on the whole lattice, e.g. the rows of the matrix whose
// kernel it is). At the last-but-one level it jumps straight to the next value that leaves the
// last level a non-empty interval, so empty runs cost no more than a few steps whatever L is.
// The stop token is polled in every loop; a stopped walk reports Stopped() and what it had.
class LatticeDescent {
public:
    // `limit` is L >= 1. The basis must span the whole integer kernel (see IntegerKernel).
    LatticeDescent(KernelBasis basis, std::vector<IntegerRow> relations, exact::Int limit, std::stop_token stop);

    // The lexicographically first point in the box, if any.
    std::optional<IntegerRow> FirstPoint();

    // The points the multiple filter records, in order, stopping after `maxRecords` (>= 1): a
    // point is recorded when its entries are coprime and none of its coordinates equals the same
    // coordinate of a point already recorded. Points with a common divisor g > 1 are skipped
    // without a test: x / g comes earlier and either was recorded or was rejected by a point that
    // rejects x as well.
    std::vector<IntegerRow> FilteredRecords(std::int64_t maxRecords);

    bool Stopped() const { return m_stopped; }

private:
    enum class Outcome { Continue, Recorded, Halt };
    enum class Mode { FirstPoint, Filtered };

    // One last-level bound, normalised to beta > 0: lower <= alpha t + beta s <= upper, where t
    // is the last-but-one parameter and s the last.
    struct PairBound {
        exact::Int alpha, beta, lower, upper;
    };
    // u.x over the coordinates fixed by levels <= j is sum_l coefficient[l] t_l; it must lie in
    // [-restMax, -restMin], the range u.x can take over the coordinates still free.
    struct LookAhead {
        std::vector<exact::Int> coefficient;
        exact::Int restMin, restMax;
    };

    void Run();
    bool Polled();
    bool LevelInterval(std::size_t level, exact::Int& lo, exact::Int& hi) const;
    bool Place(std::size_t level, exact::Int t);
    Outcome Descend(std::size_t level);
    Outcome LastLevel(exact::Int lo, exact::Int hi);
    void PrepareLastBounds();
    std::optional<exact::Int> NextCompletable(exact::Int t, exact::Int hi);
    std::optional<exact::Int> NextPairCompletable(const PairBound& low, const PairBound& high, exact::Int t,
                                                  exact::Int hi);
    exact::Int RecordableCount() const;

    KernelBasis m_basis;
    std::vector<IntegerRow> m_relations;
    exact::Int m_limit;
    std::stop_token m_stop;
    std::size_t m_size = 0;                         // n coordinates
    std::vector<int> m_owner;                       // last level whose vector is nonzero there; -1: none
    std::vector<std::vector<std::size_t>> m_owned;  // coordinates each level fixes
    std::vector<std::vector<LookAhead>> m_lookAhead;

    Mode m_mode = Mode::FirstPoint;
    std::vector<exact::Int> m_t;
    std::vector<IntegerRow> m_partial;  // m_partial[j][i] = sum_{l<j} t_l b_l[i]
    IntegerRow m_x;
    std::vector<PairBound> m_lastBounds;
    std::vector<std::unordered_set<std::int64_t>> m_used;  // recorded values per coordinate
    std::vector<IntegerRow> m_found;
    std::int64_t m_maxRecords = 1;
    exact::Int m_recordable = 0;  // no more records than this are possible
    bool m_stopped = false;
};

}  // namespace qivara
