// The walk's bound propagation: a level's interval, the ranges of the coordinates deeper levels
// fix, and the runs of values it proves dead.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>

#include "search/LastLevelJump.h"
#include "search/LatticeWalk.h"
#include "search/WalkBounds.h"

namespace qivara {

using walk::Narrow;

template <typename T>
bool LatticeWalkOf<T>::LevelInterval(std::size_t level, T& lo, T& hi) {
    lo = -walk::Unbounded<T>();
    hi = walk::Unbounded<T>();
    const RowOf<T>& partial = m_partial[level];
    const RowOf<T>& b = m_basis.vectors[level];
    for (std::size_t i : m_owned[level]) Narrow(b[i], partial[i], m_boxLow[i], m_boxHigh[i], lo, hi);
    if (lo > hi) return false;
    if (level + 1 == m_basis.Dimension()) return true;
    if (!Propagate(level, lo, hi) || !Relax(level, lo, hi)) return false;
    // What holds for every t in [lo, hi] holds below each of them: the next level starts here.
    for (std::size_t i : m_free[level]) {
        m_inheritedLow[level][i] = m_freeLow[i];
        m_inheritedHigh[level][i] = m_freeHigh[i];
    }
    return true;
}

// Whether t gives a coordinate the level fixes a value a recorded point holds there (only values
// inside the box are ever recorded).
template <typename T>
bool LatticeWalkOf<T>::HoldsUsed(std::size_t level, T t) const {
    if (m_mode != Mode::Filtered) return false;
    const RowOf<T>& partial = m_partial[level];
    const RowOf<T>& b = m_basis.vectors[level];
    for (std::size_t i : m_owned[level]) {
        const T x = exact::Add(partial[i], exact::Mul(t, b[i]));
        if (!m_loose[i] && x >= 1 && x <= m_limit && m_used[i].count(static_cast<std::int64_t>(x)) != 0) return true;
    }
    return false;
}

// Moves the ends of the level's t range off values that give a coordinate a recorded value.
// Each recorded value stops at most one t, so this takes few steps.
template <typename T>
bool LatticeWalkOf<T>::SettleLevel(std::size_t level, T& lo, T& hi) const {
    while (lo <= hi && HoldsUsed(level, lo)) lo = exact::Add(lo, 1);
    while (lo <= hi && HoldsUsed(level, hi)) hi = exact::Sub(hi, 1);
    return lo <= hi;
}

// Moves the ends of free coordinate i's range onto the values it can take below `level` (its
// residue modulo the step) and off the values a recorded point holds there.
template <typename T>
bool LatticeWalkOf<T>::SettleFree(std::size_t level, std::size_t i) {
    const T step = m_step[level][i];
    const T residue = m_partial[level][i];
    T& lo = m_freeLow[i];
    T& hi = m_freeHigh[i];
    lo = exact::Add(residue, exact::Mul(exact::CeilDiv(exact::Sub(lo, residue), step), step));
    hi = exact::Add(residue, exact::Mul(exact::FloorDiv(exact::Sub(hi, residue), step), step));
    if (m_mode == Mode::Filtered && !m_loose[i]) {
        const std::unordered_set<std::int64_t>& used = m_used[i];
        while (lo <= hi && used.count(static_cast<std::int64_t>(lo)) != 0) lo = exact::Add(lo, step);
        while (lo <= hi && used.count(static_cast<std::int64_t>(hi)) != 0) hi = exact::Sub(hi, step);
    }
    return lo <= hi;
}

// Bound propagation below `level` with its t in [lo, hi]: the free coordinates start from the
// ranges the level above found, and each relation in turn narrows every term's range to what
// the other terms leave (the terms sum to 0). One pass: a second one, or looking again at the
// relations a narrowing touches, proved fewer subtrees empty than it cost (qivara-bench).
// Only true statements about points the walk could record or return are used, so an empty
// range proves that no t in [lo, hi] leads to one; otherwise [lo, hi] is narrowed to the t that may.
template <typename T>
bool LatticeWalkOf<T>::Propagate(std::size_t level, T& lo, T& hi) {
    if (!SettleLevel(level, lo, hi)) return false;
    for (std::size_t i : m_free[level]) {
        m_freeLow[i] = level == 0 ? 1 : m_inheritedLow[level - 1][i];
        m_freeHigh[i] = level == 0 ? m_limit : m_inheritedHigh[level - 1][i];
        if (!SettleFree(level, i)) return false;
    }
    const std::vector<LevelRelation>& relations = m_levelRelations[level];
    const RowOf<T>& partial = m_partial[level];
    m_constant.resize(relations.size());
    T largestConstant = 0;
    for (std::size_t r = 0; r < relations.size(); ++r) {
        T constant = 0;
        for (const auto& [i, u] : relations[r].fixedTerms) constant = exact::Add(constant, exact::Mul(u, partial[i]));
        m_constant[r] = constant;
        largestConstant = std::max(largestConstant, exact::Abs(constant));
    }
    // Ranges only narrow from here, so when the widest sum a relation could reach fits 63 bits
    // the sums below are taken in plain 64-bit arithmetic, which is several times faster.
    const T reach = std::max({m_reach, exact::Abs(lo), exact::Abs(hi)});
    const bool plain64 =
        exact::Add(exact::Mul(exact::Mul(m_levels[level].largestCoefficient, reach), static_cast<T>(m_size + 1)),
                   largestConstant) < static_cast<T>(std::int64_t{1} << 62);
    const auto termRange = [](T coefficient, T low, T high) {
        const T a = exact::Mul(coefficient, low);
        const T b = exact::Mul(coefficient, high);
        return std::pair{std::min(a, b), std::max(a, b)};
    };
    for (std::size_t r = 0; r < relations.size(); ++r) {
        const LevelRelation& relation = relations[r];
        const auto [tLow, tHigh] = termRange(relation.tCoefficient, lo, hi);
        T low, high;
        if (plain64) {
            auto low64 = static_cast<std::int64_t>(m_constant[r] + tLow);
            auto high64 = static_cast<std::int64_t>(m_constant[r] + tHigh);
            for (std::size_t k = 0; k < relation.freeTerms.size(); ++k) {
                const auto& [i, u] = relation.freeTerms[k];
                const auto u64 = static_cast<std::int64_t>(u);
                const std::int64_t a = u64 * static_cast<std::int64_t>(m_freeLow[i]);
                const std::int64_t b = u64 * static_cast<std::int64_t>(m_freeHigh[i]);
                const std::int64_t termLow = u64 > 0 ? a : b;
                const std::int64_t termHigh = u64 > 0 ? b : a;
                m_termLow[k] = termLow;
                m_termHigh[k] = termHigh;
                low64 += termLow;
                high64 += termHigh;
            }
            low = low64;
            high = high64;
        } else {
            low = exact::Add(m_constant[r], tLow);
            high = exact::Add(m_constant[r], tHigh);
            for (std::size_t k = 0; k < relation.freeTerms.size(); ++k) {
                const auto& [i, u] = relation.freeTerms[k];
                std::tie(m_termLow[k], m_termHigh[k]) = termRange(u, m_freeLow[i], m_freeHigh[i]);
                low = exact::Add(low, m_termLow[k]);
                high = exact::Add(high, m_termHigh[k]);
            }
        }
        if (low > 0 || high < 0) return false;
        // A term lies in [its high - high, its low - low]: the others must bring the sum to 0.
        // Only a term wider than the slack on one side of 0 can narrow.
        const T slack = std::min(high, exact::Neg(low));
        if (relation.tCoefficient != 0 && tHigh - tLow > slack) {
            const T oldLo = lo, oldHi = hi;
            Narrow(relation.tCoefficient, 0, exact::Sub(tHigh, high), exact::Sub(tLow, low), lo, hi);
            if ((lo != oldLo || hi != oldHi) && !SettleLevel(level, lo, hi)) return false;
        }
        for (std::size_t k = 0; k < relation.freeTerms.size(); ++k) {
            const auto& [i, u] = relation.freeTerms[k];
            const T termLow = m_termLow[k];
            const T termHigh = m_termHigh[k];
            if (termHigh - termLow <= slack) continue;
            const T oldLo = m_freeLow[i], oldHi = m_freeHigh[i];
            Narrow(u, 0, exact::Sub(termHigh, high), exact::Sub(termLow, low), m_freeLow[i], m_freeHigh[i]);
            if ((m_freeLow[i] != oldLo || m_freeHigh[i] != oldHi) && !SettleFree(level, i)) return false;
        }
    }
    return true;
}

// The largest m <= hi such that propagation proves every t in [from, m] dead, found by doubling
// the probe and then bisecting; from - 1 when from itself may live.
template <typename T>
T LatticeWalkOf<T>::DeadRunEnd(std::size_t level, T from, T hi) {
    T dead = exact::Sub(from, 1);
    T step = 1;
    while (dead < hi && !Polled()) {
        const T probe = std::min(hi, exact::Add(dead, step));
        T lo = from;
        T top = probe;
        if (!Propagate(level, lo, top) || !Relax(level, lo, top)) {
            dead = probe;
            step = exact::Mul(step, 2);
            continue;
        }
        // [from, dead] is dead, [from, probe] is not proven so: bisect between them.
        T low = exact::Add(dead, 1);
        T high = exact::Sub(probe, 1);
        while (low <= high && !Polled()) {
            const T middle = low + (high - low) / 2;
            lo = from;
            top = middle;
            if (!Propagate(level, lo, top) || !Relax(level, lo, top)) {
                dead = middle;
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        break;
    }
    return dead;
}

// The least t' in [t, hi] that leaves every free coordinate a value it can take: below t' the
// coordinate is x = c + g t' + s k (k an integer, s the step deeper levels move it by), and each
// relation through it, with the other terms in the ranges the level found for all of [lo, hi],
// bounds g t' + s k from both sides: the last-level jump's problem for the pair (t', k).
// nullopt when no t' is left (or a stop is requested).
template <typename T>
std::optional<T> LatticeWalkOf<T>::NextResidueFit(std::size_t level, T t, T hi) {
    const RowOf<T>& partial = m_partial[level];
    const RowOf<T>& b = m_basis.vectors[level];
    const RowOf<T>& low = m_inheritedLow[level];
    const RowOf<T>& high = m_inheritedHigh[level];
    const std::vector<LevelRelation>& relations = m_levelRelations[level];
    // The index of relations by free coordinate, built the first time a level needs it (a walk
    // over thousands of species would spend most of its memory on it otherwise).
    std::vector<std::vector<std::pair<std::size_t, T>>>& termsOf = m_termsOf[level];
    if (termsOf.empty()) {
        termsOf.resize(m_size);
        for (std::size_t r = 0; r < relations.size(); ++r) {
            for (const auto& [i, u] : relations[r].freeTerms) termsOf[i].emplace_back(r, u);
        }
    }
    // Each relation's fixed part and the range of all its free terms, once.
    m_constant.resize(relations.size());
    m_relationLow.resize(relations.size());
    m_relationHigh.resize(relations.size());
    for (std::size_t r = 0; r < relations.size(); ++r) {
        T constant = 0, sumLow = 0, sumHigh = 0;
        for (const auto& [k, u] : relations[r].fixedTerms) constant = exact::Add(constant, exact::Mul(u, partial[k]));
        for (const auto& [k, u] : relations[r].freeTerms) {
            const T a = exact::Mul(u, low[k]);
            const T z = exact::Mul(u, high[k]);
            sumLow = exact::Add(sumLow, std::min(a, z));
            sumHigh = exact::Add(sumHigh, std::max(a, z));
        }
        m_constant[r] = constant;
        m_relationLow[r] = sumLow;
        m_relationHigh[r] = sumHigh;
    }
    std::vector<walk::PairBoundOf<T>>& bounds = m_fitBounds;
    for (std::size_t i : m_free[level]) {
        const T step = m_step[level + 1][i];
        const T c = partial[i];
        const T g = b[i];
        bounds.clear();
        bounds.push_back(walk::MakePairBound<T>(g, step, exact::Sub(low[i], c), exact::Sub(high[i], c)));
        for (const auto& [r, u] : termsOf[i]) {
            // tCoefficient t + u (c + g t + step k) + (the other free terms) + constant = 0.
            const T a = exact::Mul(u, low[i]);
            const T z = exact::Mul(u, high[i]);
            const T othersLow = exact::Sub(m_relationLow[r], std::min(a, z));
            const T othersHigh = exact::Sub(m_relationHigh[r], std::max(a, z));
            const T alpha = exact::Add(relations[r].tCoefficient, exact::Mul(u, g));
            const T beta = exact::Mul(u, step);
            const T shift = exact::Add(m_constant[r], exact::Mul(u, c));
            bounds.push_back(walk::MakePairBound<T>(alpha, beta, exact::Neg(exact::Add(shift, othersHigh)),
                                                    exact::Neg(exact::Add(shift, othersLow))));
        }
        const std::optional<T> next = walk::NextCompletable(bounds, t, hi, m_stop);
        if (!next) return std::nullopt;
        t = *next;
    }
    return t;
}

// The members defined here, for both widths (the rest are instantiated in LatticeWalk.cpp).
#define QIVARA_WALK_PROPAGATION(T)                                          \
    template bool LatticeWalkOf<T>::LevelInterval(std::size_t, T&, T&);     \
    template bool LatticeWalkOf<T>::HoldsUsed(std::size_t, T) const;        \
    template bool LatticeWalkOf<T>::SettleLevel(std::size_t, T&, T&) const; \
    template bool LatticeWalkOf<T>::SettleFree(std::size_t, std::size_t);   \
    template bool LatticeWalkOf<T>::Propagate(std::size_t, T&, T&);         \
    template T LatticeWalkOf<T>::DeadRunEnd(std::size_t, T, T);             \
    template std::optional<T> LatticeWalkOf<T>::NextResidueFit(std::size_t, T, T);
QIVARA_WALK_PROPAGATION(exact::Int)
QIVARA_WALK_PROPAGATION(exact::Wide)
#undef QIVARA_WALK_PROPAGATION

}  // namespace qivara
