#pragma once
// Depth-first walk over the points of an integer kernel inside the box [1, L]^n, in
// lexicographic order of the coordinates, in either of the search's integer widths (IntegerKernel.h).

#include <cstdint>
#include <optional>
#include <stop_token>
#include <unordered_set>
#include <utility>
#include <vector>

#include "search/IntegerKernel.h"
#include "search/LastLevelJump.h"

namespace qivara {

// Walks x = t_0 b_0 + ... + t_{d-1} b_{d-1} with t_0 rising, then t_1 rising below each t_0, and
// so on: because the basis is in echelon form that is lexicographic order of x. Each level's t
// runs over an interval cut out by the box bounds of the coordinates it fixes and by bound
// propagation over `relations` (vectors u with u.x = 0 on the whole lattice, e.g. the rows of the
// matrix whose kernel it is): every coordinate still free gets a range, each relation narrows
// the ranges of its terms from the others', and a range's ends skip values a recorded point
// already holds. A range that empties proves a whole run of t dead, so runs are skipped, not
// walked: after two values in a row whose subtrees are empty on entry, the run ahead is widened
// into the longest one propagation proves dead, by doubling and bisection. At the last-but-one
// level it also jumps straight to the next value that leaves the last level a non-empty interval.
// A level whose subtrees reach deep before they die is proven dead from one of them (RestIsDead).
// The stop token is polled in every loop; a stopped walk reports Stopped() and what it had.
template <typename T>
class LatticeWalkOf {
public:
    // `limit` is L >= 1. The basis must span the whole integer kernel (see IntegerKernel).
    // `relations` are used at every level; `cocircuits` (relations of minimal support) only at
    // the levels where they tie few free coordinates together.
    LatticeWalkOf(KernelBasisOf<T> basis, std::vector<RowOf<T>> relations, std::vector<RowOf<T>> cocircuits, T limit,
                  std::stop_token stop);

    // The lexicographically first point in the box, if any.
    std::optional<RowOf<T>> FirstPoint();

    // The points the multiple filter records, in order, stopping after `maxRecords` (>= 1): a
    // point is recorded when its entries are coprime and none of its coordinates equals the same
    // coordinate of a point already recorded. Points with a common divisor g > 1 are skipped
    // without a test: x / g comes earlier and either was recorded or was rejected by a point that
    // rejects x as well.
    std::vector<RowOf<T>> FilteredRecords(std::int64_t maxRecords);

    bool Stopped() const { return m_stopped; }

private:
    // Empty: the level's interval was empty on entry; Continue: nothing recorded below.
    enum class Outcome { Empty, Continue, Recorded, Halt };
    enum class Mode { FirstPoint, Filtered };

    // One relation u seen from level j: u.x = tCoefficient t_j + sum of u_i x_i over the
    // coordinates fixed by levels <= j taken at t_j = 0 (`fixedTerms`, read from m_partial[j])
    // + sum of u_i x_i over the coordinates deeper levels fix (`freeTerms`).
    struct LevelRelation {
        T tCoefficient = 0;
        std::vector<std::pair<std::size_t, T>> fixedTerms, freeTerms;
    };

    void Run();
    bool Polled();
    bool LevelInterval(std::size_t level, T& lo, T& hi);
    bool Propagate(std::size_t level, T& lo, T& hi);
    bool Relax(std::size_t level, T& lo, T& hi);
    bool Learn(std::size_t level, const std::vector<double>& multipliers, T& lo, T& hi);
    bool SettleLevel(std::size_t level, T& lo, T& hi) const;
    bool SettleFree(std::size_t level, std::size_t i);
    bool HoldsUsed(std::size_t level, T t) const;
    bool RestIsDead(std::size_t level, T t, T hi);
    T DeadRunEnd(std::size_t level, T t, T hi);
    std::optional<T> NextResidueFit(std::size_t level, T t, T hi);
    bool Place(std::size_t level, T t);
    Outcome Descend(std::size_t level);
    Outcome LastLevel(T lo, T hi);
    std::optional<T> PastLoneMultiple(T t, T hi);
    void PrepareLastBounds();
    T RecordableCount() const;

    KernelBasisOf<T> m_basis;
    std::vector<RowOf<T>> m_relations;  // the ones used everywhere first, then the cocircuits
    std::size_t m_alwaysUsed = 0;
    T m_limit;
    std::stop_token m_stop;
    std::size_t m_size = 0;                         // n coordinates
    std::vector<int> m_owner;                       // last level whose vector is nonzero there; -1: none
    std::vector<std::vector<std::size_t>> m_owned;  // coordinates each level fixes
    std::vector<std::vector<std::size_t>> m_free;   // coordinates deeper levels fix, per level
    std::vector<RowOf<T>> m_step;                   // m_step[j][i]: gcd of b_l[i] over l >= j
    std::vector<std::vector<LevelRelation>> m_levelRelations;
    // NextResidueFit's scratch, and per level and free coordinate the relations through it
    // (index into the level's relations, coefficient), as they stood at the level's first jump.
    RowOf<T> m_relationLow, m_relationHigh;
    std::vector<walk::PairBoundOf<T>> m_fitBounds;
    std::vector<std::vector<std::vector<std::pair<std::size_t, T>>>> m_termsOf;
    // What each level keeps about its relations and its linear relaxation.
    struct LevelState {
        std::size_t matrixRelations = 0;       // the first relations, from the matrix: the relaxation's rows
        std::size_t learned = 0;               // the last ones, learned from the relaxation
        unsigned relaxGap = 0, relaxWait = 0;  // the relaxation's back-off
        T largestCoefficient = 0;              // over the level's relations, t's included
        unsigned probeGap = 0, probeWait = 0;  // RestIsDead's back-off
    };
    std::vector<LevelState> m_levels;
    RowOf<T> m_constant;             // scratch of one propagation: each relation's fixed part
    RowOf<T> m_freeLow, m_freeHigh;  // ranges of the free coordinates during a propagation
    RowOf<T> m_termLow, m_termHigh;  // ranges of one relation's free terms
    // The free coordinates' ranges at the last node of each level, where the next level starts.
    std::vector<RowOf<T>> m_inheritedLow, m_inheritedHigh;

    // The box per coordinate: [1, L], wider for the coordinates a probe loosens (RestIsDead), whose
    // recorded values it also ignores; m_reach bounds every box end.
    RowOf<T> m_boxLow, m_boxHigh;
    std::vector<char> m_loose;
    T m_reach = 0;
    bool m_probing = false, m_probeFound = false, m_probeAborted = false;
    std::size_t m_probeSteps = 0;

    Mode m_mode = Mode::FirstPoint;
    std::vector<T> m_t;
    std::vector<RowOf<T>> m_partial;  // m_partial[j][i] = sum_{l<j} t_l b_l[i]
    RowOf<T> m_x;
    std::vector<walk::PairBoundOf<T>> m_lastBounds;        // the last level's bounds below the current t
    std::vector<std::unordered_set<std::int64_t>> m_used;  // recorded values per coordinate
    std::vector<RowOf<T>> m_found;
    std::int64_t m_maxRecords = 1;
    T m_recordable = 0;  // no more records than this are possible
    bool m_stopped = false;
};

// The walk in checked 128-bit integers: what every real equation needs, several times faster.
using LatticeWalk = LatticeWalkOf<exact::Int>;

}  // namespace qivara
