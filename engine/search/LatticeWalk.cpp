#include "search/LatticeWalk.h"

#include <algorithm>
#include <utility>

#include "search/LastLevelJump.h"
#include "search/WalkBounds.h"

namespace qivara {
namespace {

using walk::Narrow;

// A probe (RestIsDead) that has not settled after this many steps of the walk gives up.
constexpr std::size_t kProbeSteps = 512;
// After a probe that proves nothing, the level skips the next 1, 3, 7, ... chances, up to this.
constexpr unsigned kMaxProbeGap = 255;

// Range of sum u_i x_i over the coordinates `free` marks, each x_i in [1, limit].
template <typename T>
std::pair<T, T> FreeRange(const RowOf<T>& u, const std::vector<bool>& free, T limit) {
    T low = 0;
    T high = 0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (!free[i] || u[i] == 0) continue;
        const T atLimit = exact::Mul(u[i], limit);
        low = exact::Add(low, std::min(u[i], atLimit));
        high = exact::Add(high, std::max(u[i], atLimit));
    }
    return {low, high};
}

}  // namespace

template <typename T>
LatticeWalkOf<T>::LatticeWalkOf(KernelBasisOf<T> basis, std::vector<RowOf<T>> relations,
                                std::vector<RowOf<T>> cocircuits, T limit, std::stop_token stop)
    : m_basis(std::move(basis)),
      m_relations(std::move(relations)),
      m_alwaysUsed(m_relations.size()),
      m_limit(limit),
      m_stop(std::move(stop)) {
    for (RowOf<T>& u : cocircuits) m_relations.push_back(std::move(u));
    const std::size_t d = m_basis.Dimension();
    m_size = d == 0 ? 0 : m_basis.vectors.front().size();
    m_owner.assign(m_size, -1);
    m_owned.assign(d, {});
    for (std::size_t i = 0; i < m_size; ++i) {
        for (std::size_t j = d; j-- > 0;) {
            if (m_basis.vectors[j][i] != 0) {
                m_owner[i] = static_cast<int>(j);
                m_owned[j].push_back(i);
                break;
            }
        }
    }
    // Per level: the coordinates deeper levels fix, their steps, and each relation split into
    // what the level's t multiplies, what is already fixed and what is still free.
    m_free.assign(d, {});
    m_step.assign(d, RowOf<T>(m_size, 0));
    m_levelRelations.assign(d, {});
    // m_step[j][i] = gcd(b_j[i], m_step[j + 1][i]), from the last level up.
    for (std::size_t j = d; j-- > 0;) {
        for (std::size_t i = 0; i < m_size; ++i)
            m_step[j][i] = exact::Gcd(j + 1 < d ? m_step[j + 1][i] : T(0), m_basis.vectors[j][i]);
    }
    m_levels.assign(d, {});
    for (std::size_t j = 0; j < d; ++j) {
        for (std::size_t i = 0; i < m_size; ++i) {
            if (m_owner[i] > static_cast<int>(j)) m_free[j].push_back(i);
        }
        if (j + 1 == d) continue;  // the last level fixes everything: no relation says more
        for (std::size_t r = 0; r < m_relations.size(); ++r) {
            const RowOf<T>& u = m_relations[r];
            LevelRelation relation;
            for (std::size_t i = 0; i < m_size; ++i) {
                if (u[i] == 0 || m_owner[i] < 0) continue;
                if (m_owner[i] > static_cast<int>(j)) {
                    relation.freeTerms.emplace_back(i, u[i]);
                } else {
                    relation.fixedTerms.emplace_back(i, u[i]);
                    relation.tCoefficient = exact::Add(relation.tCoefficient, exact::Mul(u[i], m_basis.vectors[j][i]));
                }
            }
            if (relation.freeTerms.empty() && relation.tCoefficient == 0) continue;
            // A cocircuit over more free coordinates than the level has free dimensions (d - j)
            // is a sum of ones over fewer, and rarely narrows anything: leave it for deeper levels.
            if (r >= m_alwaysUsed && relation.freeTerms.size() > d - j) continue;
            for (const auto& term : relation.freeTerms)
                m_levels[j].largestCoefficient = std::max(m_levels[j].largestCoefficient, exact::Abs(term.second));
            m_levels[j].largestCoefficient =
                std::max(m_levels[j].largestCoefficient, exact::Abs(relation.tCoefficient));
            if (r < m_alwaysUsed) ++m_levels[j].matrixRelations;
            m_levelRelations[j].push_back(std::move(relation));
        }
    }
    m_termsOf.assign(d, {});
    m_freeLow.assign(m_size, 0);
    m_freeHigh.assign(m_size, 0);
    m_termLow.assign(m_size, 0);
    m_termHigh.assign(m_size, 0);
    m_inheritedLow.assign(d, RowOf<T>(m_size, 0));
    m_inheritedHigh.assign(d, RowOf<T>(m_size, 0));
    m_boxLow.assign(m_size, T(1));
    m_boxHigh.assign(m_size, m_limit);
    m_loose.assign(m_size, 0);
    m_reach = m_limit;
}

template <typename T>
bool LatticeWalkOf<T>::Polled() {
    if (m_stop.stop_requested()) m_stopped = true;
    if (m_probing && ++m_probeSteps > kProbeSteps) m_probeAborted = true;
    return m_stopped || m_probeAborted;
}

template <typename T>
bool LatticeWalkOf<T>::Place(std::size_t level, T t) {
    m_t[level] = t;
    const RowOf<T>& partial = m_partial[level];
    const RowOf<T>& b = m_basis.vectors[level];
    bool clear = true;
    for (std::size_t i : m_owned[level]) {
        m_x[i] = exact::Add(partial[i], exact::Mul(t, b[i]));
        if (m_mode == Mode::Filtered && !m_loose[i] && m_used[i].count(static_cast<std::int64_t>(m_x[i])) != 0)
            clear = false;
    }
    return clear;
}

template <typename T>
typename LatticeWalkOf<T>::Outcome LatticeWalkOf<T>::Descend(std::size_t level) {
    const std::size_t d = m_basis.Dimension();
    T lo, hi;
    if (!LevelInterval(level, lo, hi)) return Outcome::Empty;
    if (level + 1 == d) return LastLevel(lo, hi);
    if (level + 2 == d) PrepareLastBounds();
    int emptyInARow = 0;
    int continueInARow = 0;
    for (T t = lo; t <= hi;) {
        if (Polled()) return Outcome::Halt;
        if (level + 2 == d) {
            const std::optional<T> next = walk::NextCompletable(m_lastBounds, t, hi, m_stop);
            if (!next) return Polled() ? Outcome::Halt : Outcome::Continue;
            t = *next;
            if (d == 2 && m_mode == Mode::Filtered) {
                const std::optional<T> past = PastLoneMultiple(t, hi);
                if (!past) return Polled() ? Outcome::Halt : Outcome::Continue;
                if (*past != t) {
                    t = *past;
                    emptyInARow = 0;  // as after visiting t: its last level is not empty
                    continue;
                }
            }
        }
        if (!Place(level, t)) {
            ++t;
            continue;
        }
        RowOf<T>& below = m_partial[level + 1];
        const RowOf<T>& partial = m_partial[level];
        const RowOf<T>& b = m_basis.vectors[level];
        for (std::size_t i = 0; i < m_size; ++i) below[i] = exact::Add(partial[i], exact::Mul(t, b[i]));
        const Outcome outcome = Descend(level + 1);
        if (outcome == Outcome::Halt) return outcome;
        // A record shares its first coordinate with every later point under the same t_0, so
        // the filter rejects them all: go straight to the next t_0.
        if (outcome == Outcome::Recorded && level > 0) return outcome;
        // Nothing below t (or a record at level 0): skip the run after it that is proven dead.
        // Two subtrees in a row proven empty on entry may start a long run of them: skip the part
        // of the run propagation proves dead in one go. A lone one costs nothing more, and other
        // subtrees are rarely followed by an empty one.
        // Subtrees that hold nothing yet reach deep before they die may do so for a reason t has
        // no part in: a probe of one, loosened where t moves it, can prove the rest dead.
        continueInARow = outcome == Outcome::Continue ? continueInARow + 1 : 0;
        if (continueInARow >= 2 && level + 3 <= d && !m_probing && RestIsDead(level, t, hi))
            return Polled() ? Outcome::Halt : Outcome::Continue;
        emptyInARow = outcome == Outcome::Empty ? emptyInARow + 1 : 0;
        if (emptyInARow < 2) {
            t = exact::Add(t, 1);
            continue;
        }
        t = exact::Add(DeadRunEnd(level, exact::Add(t, 1), hi), 1);
        // Subtrees that die one by one, each for want of an integer where the reals leave room,
        // are skipped by what each free coordinate's residue allows (the last-but-one level has
        // the exact jump of its own).
        if (level + 2 < d && t <= hi) {
            const std::optional<T> next = NextResidueFit(level, t, hi);
            if (!next) return Polled() ? Outcome::Halt : Outcome::Continue;
            t = *next;
        }
    }
    return Outcome::Continue;
}

// Whether no t' in (t, hi] at `level` leads to a point, proven from the subtree at t (just walked
// with nothing found). A point below t' is x' = x + (t' - t) b with x a lattice point below t, and
// b (the level's vector) moves only the free coordinates where it is nonzero: so with those
// coordinates' boxes and ranges widened by (hi - t) |b_i|, their recorded values ignored and every
// point counted (coprime or not), the subtree at t holds the image of every point below every t'.
// When that loosened subtree is empty, so is the rest of the level.
template <typename T>
bool LatticeWalkOf<T>::RestIsDead(std::size_t level, T t, T hi) {
    LevelState& state = m_levels[level];
    if (state.probeWait > 0) {
        --state.probeWait;
        return false;
    }
    const T span = exact::Sub(hi, t);
    if (span <= 0) return false;
    const RowOf<T>& b = m_basis.vectors[level];
    RowOf<T>& low = m_inheritedLow[level];
    RowOf<T>& high = m_inheritedHigh[level];
    // Widths past 2^62 would carry the deeper levels' sums out of 128 bits: not worth a probe.
    const T largestWidth = static_cast<T>(std::int64_t{1} << 62);
    for (std::size_t i : m_free[level]) {
        if (b[i] != 0 && exact::Abs(b[i]) > exact::Quotient(largestWidth, span)) return false;
    }
    struct Saved {
        std::size_t i;
        T boxLow, boxHigh, low, high;
    };
    std::vector<Saved> saved;
    for (std::size_t i : m_free[level]) {
        if (b[i] == 0) continue;
        saved.push_back({i, m_boxLow[i], m_boxHigh[i], low[i], high[i]});
        const T width = exact::Mul(span, exact::Abs(b[i]));
        m_boxLow[i] = exact::Sub(m_boxLow[i], width);
        m_boxHigh[i] = exact::Add(m_boxHigh[i], width);
        low[i] = exact::Sub(low[i], width);
        high[i] = exact::Add(high[i], width);
        m_loose[i] = 1;
        m_reach = std::max({m_reach, exact::Abs(m_boxLow[i]), exact::Abs(m_boxHigh[i])});
    }
    m_probing = true;
    m_probeFound = false;
    m_probeAborted = false;
    m_probeSteps = 0;
    // m_partial[level + 1] still holds the partial sums below t.
    const Outcome outcome = Descend(level + 1);
    const bool dead = outcome != Outcome::Halt && !m_probeFound && !m_probeAborted && !m_stopped;
    m_probing = false;
    m_probeAborted = false;
    for (const Saved& s : saved) {
        m_boxLow[s.i] = s.boxLow;
        m_boxHigh[s.i] = s.boxHigh;
        low[s.i] = s.low;
        high[s.i] = s.high;
        m_loose[s.i] = 0;
    }
    m_reach = m_limit;
    state.probeGap = dead ? 0 : std::min(kMaxProbeGap, 2 * state.probeGap + 1);
    state.probeWait = state.probeGap;
    return dead;
}

template <typename T>
typename LatticeWalkOf<T>::Outcome LatticeWalkOf<T>::LastLevel(T lo, T hi) {
    const std::size_t last = m_basis.Dimension() - 1;
    T common = 0;  // gcd of t_0..t_{d-2}; the point's gcd is gcd(common, s)
    if (m_mode == Mode::Filtered && !m_probing) {
        for (std::size_t l = 0; l < last; ++l) common = exact::Gcd(common, m_t[l]);
        if (common == 0) {  // one-dimensional: only s = +-1 is coprime, and x_0 > 0 needs s > 0
            lo = std::max<T>(lo, 1);
            hi = std::min<T>(hi, 1);
        }
    }
    for (T s = lo; s <= hi; ++s) {
        if (Polled()) return Outcome::Halt;
        if (m_mode == Mode::Filtered && !m_probing && exact::Gcd(common, s) != 1) continue;
        if (!Place(last, s)) continue;
        if (m_probing) {  // any point will do: see RestIsDead
            m_probeFound = true;
            return Outcome::Halt;
        }
        m_found.push_back(m_x);
        if (m_mode == Mode::FirstPoint) return Outcome::Halt;
        for (std::size_t i = 0; i < m_size; ++i) m_used[i].insert(static_cast<std::int64_t>(m_x[i]));
        const auto count = static_cast<std::int64_t>(m_found.size());
        if (count >= m_maxRecords || count >= m_recordable) return Outcome::Halt;
        return Outcome::Recorded;
    }
    return Outcome::Continue;
}

// In a two-dimensional walk, when t (> 0) leaves the last level a single point (t, s) and that
// point is g > 1 times the primitive (t/g, s/g), which came earlier, every later point on the line
// through both is a larger multiple, which the filter never records. So the next t worth a visit
// has some s within the last level's bounds off that line: (t/g) s' - (s/g) t' >= 1 or <= -1.
template <typename T>
std::optional<T> LatticeWalkOf<T>::PastLoneMultiple(T t, T hi) {
    T lowest = -walk::Unbounded<T>();
    T highest = walk::Unbounded<T>();
    for (const walk::PairBoundOf<T>& bound : m_lastBounds) {
        lowest = std::max(lowest, walk::LowestLast(bound, t));
        highest = std::min(highest, walk::HighestLast(bound, t));
    }
    if (t <= 0 || lowest != highest) return t;
    const T g = exact::Gcd(t, lowest);
    if (g == 1) return t;
    const T beta = exact::Quotient(t, g);
    const T alpha = exact::Neg(exact::Quotient(lowest, g));
    std::vector<walk::PairBoundOf<T>> bounds = m_lastBounds;
    bounds.push_back(walk::MakePairBound<T>(alpha, beta, 1, walk::Unbounded<T>()));
    const std::optional<T> above = walk::NextCompletable(bounds, exact::Add(t, 1), hi, m_stop);
    bounds.back() = walk::MakePairBound<T>(alpha, beta, -walk::Unbounded<T>(), -1);
    const std::optional<T> below = walk::NextCompletable(bounds, exact::Add(t, 1), above.value_or(hi), m_stop);
    if (m_stop.stop_requested()) return std::nullopt;
    if (above && below) return std::min(*above, *below);
    return above ? above : below;
}

template <typename T>
void LatticeWalkOf<T>::PrepareLastBounds() {
    const std::size_t d = m_basis.Dimension();
    const RowOf<T>& partial = m_partial[d - 2];
    const RowOf<T>& a = m_basis.vectors[d - 2];
    const RowOf<T>& b = m_basis.vectors[d - 1];
    m_lastBounds.clear();
    // box low <= partial + a t + b s <= box high (1 and L outside a probe) for every coordinate the
    // last level fixes.
    for (std::size_t i : m_owned[d - 1])
        m_lastBounds.push_back(walk::MakePairBound<T>(a[i], b[i], exact::Sub(m_boxLow[i], partial[i]),
                                                      exact::Sub(m_boxHigh[i], partial[i])));
}

template <typename T>
T LatticeWalkOf<T>::RecordableCount() const {
    // Recorded points differ in every coordinate, so no coordinate holds more records than the
    // values it can take: multiples of its column's gcd within its bounds.
    T fewest = walk::Unbounded<T>();
    for (std::size_t i = 0; i < m_size; ++i) {
        T step = 0;
        for (const RowOf<T>& b : m_basis.vectors) step = exact::Gcd(step, b[i]);
        if (step == 0) return 0;
        T lo = 1;
        T hi = m_limit;
        for (const RowOf<T>& u : m_relations) {
            if (u[i] == 0) continue;
            std::vector<bool> others(m_size, true);
            others[i] = false;
            const auto [restMin, restMax] = FreeRange(u, others, m_limit);
            Narrow(u[i], 0, exact::Neg(restMax), exact::Neg(restMin), lo, hi);
        }
        const T count = lo > hi ? 0 : exact::FloorDiv(hi, step) - exact::CeilDiv(lo, step) + 1;
        fewest = std::min(fewest, std::max<T>(count, 0));
    }
    return fewest;
}

template <typename T>
void LatticeWalkOf<T>::Run() {
    const std::size_t d = m_basis.Dimension();
    m_found.clear();
    m_stopped = false;
    if (d == 0 || Polled()) return;
    for (int owner : m_owner) {
        if (owner < 0) return;  // a coordinate is 0 on the whole lattice: nothing lies in the box
    }
    m_t.assign(d, 0);
    m_partial.assign(d, RowOf<T>(m_size, 0));
    m_x.assign(m_size, 0);
    m_used.assign(m_size, {});
    Descend(0);
}

template <typename T>
std::optional<RowOf<T>> LatticeWalkOf<T>::FirstPoint() {
    m_mode = Mode::FirstPoint;
    Run();
    if (m_found.empty()) return std::nullopt;
    return m_found.front();
}

template <typename T>
std::vector<RowOf<T>> LatticeWalkOf<T>::FilteredRecords(std::int64_t maxRecords) {
    m_mode = Mode::Filtered;
    m_maxRecords = maxRecords;
    m_recordable = RecordableCount();
    if (m_recordable == 0) return {};
    Run();
    return std::move(m_found);
}

template class LatticeWalkOf<exact::Int>;
template class LatticeWalkOf<exact::Wide>;

}  // namespace qivara
