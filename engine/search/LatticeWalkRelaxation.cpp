// The walk's linear relaxation: where bound propagation cannot prove a subtree empty, a small linear
// program over the reals finds the combination of the matrix's rows that does (or that bounds the
// level's t tightest), and that combination, made integral and checked exactly by propagation, is
// kept as one more relation of the level. Propagation then proves the neighbouring subtrees empty
// by itself, and the dead-run skipping uses the new relation too.

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "search/LatticeWalk.h"
#include "search/LinearRelaxation.h"
#include "search/WalkBounds.h"

namespace qivara {
namespace {

// Only levels with at least this many levels from them to the last relax: the last two have the
// exact last-level jump.
constexpr std::size_t kRelaxedLevels = 3;
// A level learns at most this many relations: each one makes every later propagation there dearer.
constexpr std::size_t kMaxLearned = 12;
// After a relaxation that proves nothing, the level skips the next 1, 3, 7, ... nodes, up to this.
constexpr unsigned kMaxRelaxGap = 255;
// Multipliers are scaled to integers of about this many bits: more keeps more of the real proof,
// fewer keeps propagation's sums in 64 bits. Tried in turn until the proof survives the rounding.
constexpr int kMultiplierBits[] = {12, 24, 40};

template <typename T>
double ToDouble(const T& v) {
    if constexpr (std::is_same_v<T, exact::Int>) {
        return static_cast<double>(v);
    } else {
        return v.template convert_to<double>();
    }
}

template <typename T>
T Gcd(T a, const T& b) {
    return exact::Gcd(a, b);
}

}  // namespace

// Appends to the level the relation sum_r round(scale y_r) (row r), divided by its content, when
// propagation with it proves [lo, hi] empty (false) or narrows it (kept, [lo, hi] narrowed).
template <typename T>
bool LatticeWalkOf<T>::Learn(std::size_t level, const std::vector<double>& multipliers, T& lo, T& hi) {
    double largest = 0;
    for (double y : multipliers) largest = std::max(largest, std::abs(y));
    if (!(largest > 0) || !std::isfinite(largest)) return true;
    std::vector<LevelRelation>& relations = m_levelRelations[level];
    for (int bits : kMultiplierBits) {
        const double scale = std::ldexp(1.0, bits) / largest;
        // The combination's coefficient on every coordinate, exactly.
        RowOf<T> combined(m_size, T(0));
        bool any = false;
        for (std::size_t r = 0; r < m_levels[level].matrixRelations; ++r) {
            const auto weight = static_cast<std::int64_t>(std::llround(multipliers[r] * scale));
            if (weight == 0) continue;
            any = true;
            const LevelRelation& row = relations[r];
            for (const auto& [i, u] : row.fixedTerms) combined[i] = exact::Add(combined[i], exact::Mul(u, T(weight)));
            for (const auto& [i, u] : row.freeTerms) combined[i] = exact::Add(combined[i], exact::Mul(u, T(weight)));
        }
        if (!any) continue;
        T content = 0;
        for (const T& c : combined) content = Gcd(content, c);
        if (content == 0) continue;
        LevelRelation relation;
        for (std::size_t i = 0; i < m_size; ++i) {
            if (combined[i] == 0) continue;
            const T u = combined[i] / content;
            if (m_owner[i] > static_cast<int>(level)) {
                relation.freeTerms.emplace_back(i, u);
            } else {
                relation.fixedTerms.emplace_back(i, u);
                relation.tCoefficient = exact::Add(relation.tCoefficient, exact::Mul(u, m_basis.vectors[level][i]));
            }
        }
        T largestCoefficient = exact::Abs(relation.tCoefficient);
        for (const auto& term : relation.freeTerms)
            largestCoefficient = std::max(largestCoefficient, exact::Abs(term.second));
        const T previousLargest = m_levels[level].largestCoefficient;
        m_levels[level].largestCoefficient = std::max(previousLargest, largestCoefficient);
        relations.push_back(std::move(relation));
        T newLo = lo;
        T newHi = hi;
        const bool alive = Propagate(level, newLo, newHi);
        const bool proved = !alive || newLo != lo || newHi != hi;
        if (proved && m_levels[level].learned < kMaxLearned) {
            ++m_levels[level].learned;
        } else {
            relations.pop_back();
            m_levels[level].largestCoefficient = previousLargest;
        }
        if (!alive) return false;
        if (proved) {
            lo = newLo;
            hi = newHi;
            // Propagation again with what stays, so the free ranges it leaves match [lo, hi].
            return Propagate(level, lo, hi);
        }
    }
    // Nothing proved: the free ranges must again be those of [lo, hi].
    return Propagate(level, lo, hi);
}

// The relaxation of the level over t in [lo, hi] (propagation has just succeeded there): false when
// it proves no point below, otherwise [lo, hi] narrowed to what it proves.
template <typename T>
bool LatticeWalkOf<T>::Relax(std::size_t level, T& lo, T& hi) {
    // A probe (RestIsDead) leaves the levels' relaxations as they were: their back-off and what
    // they learned follow the walk itself.
    if (m_probing || m_basis.Dimension() - level < kRelaxedLevels || m_levels[level].matrixRelations == 0) return true;
    if (m_levels[level].relaxWait > 0) {
        --m_levels[level].relaxWait;
        return true;
    }
    // Columns: t, then the free coordinates; one row per matrix relation: t c + sum u_i x_i = -fixed.
    const std::vector<std::size_t>& free = m_free[level];
    const std::size_t rows = m_levels[level].matrixRelations;
    const std::size_t columns = free.size() + 1;
    std::vector<std::size_t> column(m_size, 0);
    for (std::size_t k = 0; k < free.size(); ++k) column[free[k]] = k + 1;
    std::vector<double> a(rows * columns, 0.0), rhs(rows, 0.0), lower(columns), upper(columns);
    const RowOf<T>& partial = m_partial[level];
    for (std::size_t r = 0; r < rows; ++r) {
        const LevelRelation& relation = m_levelRelations[level][r];
        a[r * columns] = ToDouble(relation.tCoefficient);
        for (const auto& [i, u] : relation.freeTerms) a[r * columns + column[i]] = ToDouble(u);
        T constant = 0;
        for (const auto& [i, u] : relation.fixedTerms) constant = exact::Add(constant, exact::Mul(u, partial[i]));
        rhs[r] = -ToDouble(constant);
    }
    lower[0] = ToDouble(lo);
    upper[0] = ToDouble(hi);
    for (std::size_t k = 0; k < free.size(); ++k) {
        lower[k + 1] = ToDouble(m_freeLow[free[k]]);
        upper[k + 1] = ToDouble(m_freeHigh[free[k]]);
    }
    relax::BoundedSimplex program(rows, columns, std::move(a), std::move(rhs), std::move(lower), std::move(upper));
    const T oldLo = lo, oldHi = hi;
    bool alive = true;
    if (!program.FindFeasible()) {
        if (program.Infeasible()) alive = Learn(level, program.Multipliers(), lo, hi);
    } else {
        std::vector<double> cost(columns, 0.0);
        cost[0] = 1.0;
        if (program.Minimise(cost) && program.Value() > ToDouble(lo) + 1e-6)
            alive = Learn(level, program.Multipliers(), lo, hi);
        cost[0] = -1.0;
        // A relation and its negation say the same: the multipliers need no sign change.
        if (alive && program.Minimise(cost) && -program.Value() < ToDouble(hi) - 1e-6)
            alive = Learn(level, program.Multipliers(), lo, hi);
    }
    const bool useful = !alive || lo != oldLo || hi != oldHi;
    m_levels[level].relaxGap = useful ? 0 : std::min(kMaxRelaxGap, 2 * m_levels[level].relaxGap + 1);
    m_levels[level].relaxWait = m_levels[level].relaxGap;
    return alive;
}

#define QIVARA_WALK_RELAXATION(T)                                                           \
    template bool LatticeWalkOf<T>::Learn(std::size_t, const std::vector<double>&, T&, T&); \
    template bool LatticeWalkOf<T>::Relax(std::size_t, T&, T&);
QIVARA_WALK_RELAXATION(exact::Int)
QIVARA_WALK_RELAXATION(exact::Wide)
#undef QIVARA_WALK_RELAXATION

}  // namespace qivara
