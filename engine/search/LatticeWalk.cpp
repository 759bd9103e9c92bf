#include "search/LatticeWalk.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace qivara {
namespace {

using exact::Int;

// Narrows [lo, hi] to the t with lower <= g t + f <= upper.
void Narrow(Int g, Int f, Int lower, Int upper, Int& lo, Int& hi) {
    if (g == 0) {
        if (f < lower || f > upper) hi = lo - 1;
        return;
    }
    const Int a = exact::Sub(lower, f);
    const Int b = exact::Sub(upper, f);
    if (g > 0) {
        lo = std::max(lo, exact::CeilDiv(a, g));
        hi = std::min(hi, exact::FloorDiv(b, g));
    } else {
        lo = std::max(lo, exact::CeilDiv(b, g));
        hi = std::min(hi, exact::FloorDiv(a, g));
    }
}

// Range of sum u_i x_i over the coordinates `free` marks, each x_i in [1, limit].
std::pair<Int, Int> FreeRange(const IntegerRow& u, const std::vector<bool>& free, Int limit) {
    Int low = 0;
    Int high = 0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (!free[i] || u[i] == 0) continue;
        const Int atLimit = exact::Mul(u[i], limit);
        low = exact::Add(low, std::min(u[i], atLimit));
        high = exact::Add(high, std::max(u[i], atLimit));
    }
    return {low, high};
}

// Smallest s with lower <= alpha t + beta s, largest with alpha t + beta s <= upper (beta > 0).
Int LowestLast(const auto& bound, Int t) {
    return exact::CeilDiv(exact::Sub(bound.lower, exact::Mul(bound.alpha, t)), bound.beta);
}
Int HighestLast(const auto& bound, Int t) {
    return exact::FloorDiv(exact::Sub(bound.upper, exact::Mul(bound.alpha, t)), bound.beta);
}

// Interval bounds never exceed the box by much; this stands for "no bound yet" without overflow.
constexpr Int kUnbounded = static_cast<Int>(1) << 100;

}  // namespace

LatticeWalk::LatticeWalk(KernelBasis basis, std::vector<IntegerRow> relations, std::vector<IntegerRow> cocircuits,
                         Int limit, std::stop_token stop)
    : m_basis(std::move(basis)),
      m_relations(std::move(relations)),
      m_alwaysUsed(m_relations.size()),
      m_limit(limit),
      m_stop(std::move(stop)) {
    for (IntegerRow& u : cocircuits) m_relations.push_back(std::move(u));
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
    m_step.assign(d, IntegerRow(m_size, 0));
    m_levelRelations.assign(d, {});
    for (std::size_t j = 0; j < d; ++j) {
        for (std::size_t i = 0; i < m_size; ++i) {
            if (m_owner[i] > static_cast<int>(j)) m_free[j].push_back(i);
            for (std::size_t l = j; l < d; ++l) m_step[j][i] = exact::Gcd(m_step[j][i], m_basis.vectors[l][i]);
        }
        if (j + 1 == d) continue;  // the last level fixes everything: no relation says more
        for (std::size_t r = 0; r < m_relations.size(); ++r) {
            const IntegerRow& u = m_relations[r];
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
                m_largestCoefficient = std::max(m_largestCoefficient, exact::Abs(term.second));
            m_largestCoefficient = std::max(m_largestCoefficient, exact::Abs(relation.tCoefficient));
            m_levelRelations[j].push_back(std::move(relation));
        }
    }
    m_freeLow.assign(m_size, 0);
    m_freeHigh.assign(m_size, 0);
    m_termLow.assign(m_size, 0);
    m_termHigh.assign(m_size, 0);
    m_inheritedLow.assign(d, IntegerRow(m_size, 0));
    m_inheritedHigh.assign(d, IntegerRow(m_size, 0));
}

bool LatticeWalk::Polled() {
    if (m_stop.stop_requested()) m_stopped = true;
    return m_stopped;
}

bool LatticeWalk::LevelInterval(std::size_t level, Int& lo, Int& hi) {
    lo = -kUnbounded;
    hi = kUnbounded;
    const IntegerRow& partial = m_partial[level];
    const IntegerRow& b = m_basis.vectors[level];
    for (std::size_t i : m_owned[level]) Narrow(b[i], partial[i], 1, m_limit, lo, hi);
    if (lo > hi) return false;
    if (level + 1 == m_basis.Dimension()) return true;
    if (!Propagate(level, lo, hi)) return false;
    // What holds for every t in [lo, hi] holds below each of them: the next level starts here.
    for (std::size_t i : m_free[level]) {
        m_inheritedLow[level][i] = m_freeLow[i];
        m_inheritedHigh[level][i] = m_freeHigh[i];
    }
    return true;
}

// Whether t gives a coordinate the level fixes a value a recorded point holds there (only values
// inside the box are ever recorded).
bool LatticeWalk::HoldsUsed(std::size_t level, Int t) const {
    if (m_mode != Mode::Filtered) return false;
    const IntegerRow& partial = m_partial[level];
    const IntegerRow& b = m_basis.vectors[level];
    for (std::size_t i : m_owned[level]) {
        const Int x = exact::Add(partial[i], exact::Mul(t, b[i]));
        if (x >= 1 && x <= m_limit && m_used[i].count(static_cast<std::int64_t>(x)) != 0) return true;
    }
    return false;
}

// Moves the ends of the level's t range off values that give a coordinate a recorded value.
// Each recorded value stops at most one t, so this takes few steps.
bool LatticeWalk::SettleLevel(std::size_t level, Int& lo, Int& hi) const {
    while (lo <= hi && HoldsUsed(level, lo)) lo = exact::Add(lo, 1);
    while (lo <= hi && HoldsUsed(level, hi)) hi = exact::Sub(hi, 1);
    return lo <= hi;
}

// Moves the ends of free coordinate i's range onto the values it can take below `level` (its
// residue modulo the step) and off the values a recorded point holds there.
bool LatticeWalk::SettleFree(std::size_t level, std::size_t i) {
    const Int step = m_step[level][i];
    const Int residue = m_partial[level][i];
    Int& lo = m_freeLow[i];
    Int& hi = m_freeHigh[i];
    lo = exact::Add(residue, exact::Mul(exact::CeilDiv(exact::Sub(lo, residue), step), step));
    hi = exact::Add(residue, exact::Mul(exact::FloorDiv(exact::Sub(hi, residue), step), step));
    if (m_mode == Mode::Filtered) {
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
bool LatticeWalk::Propagate(std::size_t level, Int& lo, Int& hi) {
    if (!SettleLevel(level, lo, hi)) return false;
    for (std::size_t i : m_free[level]) {
        m_freeLow[i] = level == 0 ? 1 : m_inheritedLow[level - 1][i];
        m_freeHigh[i] = level == 0 ? m_limit : m_inheritedHigh[level - 1][i];
        if (!SettleFree(level, i)) return false;
    }
    const std::vector<LevelRelation>& relations = m_levelRelations[level];
    const IntegerRow& partial = m_partial[level];
    m_constant.resize(relations.size());
    Int largestConstant = 0;
    for (std::size_t r = 0; r < relations.size(); ++r) {
        Int constant = 0;
        for (const auto& [i, u] : relations[r].fixedTerms) constant = exact::Add(constant, exact::Mul(u, partial[i]));
        m_constant[r] = constant;
        largestConstant = std::max(largestConstant, exact::Abs(constant));
    }
    // Ranges only narrow from here, so when the widest sum a relation could reach fits 63 bits
    // the sums below are taken in plain 64-bit arithmetic, which is several times faster.
    const Int reach = std::max({m_limit, exact::Abs(lo), exact::Abs(hi)});
    const bool plain64 = exact::Add(exact::Mul(exact::Mul(m_largestCoefficient, reach), static_cast<Int>(m_size + 1)),
                                    largestConstant) < (static_cast<Int>(1) << 62);
    const auto termRange = [](Int coefficient, Int low, Int high) {
        const Int a = exact::Mul(coefficient, low);
        const Int b = exact::Mul(coefficient, high);
        return std::pair{std::min(a, b), std::max(a, b)};
    };
    for (std::size_t r = 0; r < relations.size(); ++r) {
        const LevelRelation& relation = relations[r];
        const auto [tLow, tHigh] = termRange(relation.tCoefficient, lo, hi);
        Int low, high;
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
        const Int slack = std::min(high, exact::Neg(low));
        if (relation.tCoefficient != 0 && tHigh - tLow > slack) {
            const Int oldLo = lo, oldHi = hi;
            Narrow(relation.tCoefficient, 0, exact::Sub(tHigh, high), exact::Sub(tLow, low), lo, hi);
            if ((lo != oldLo || hi != oldHi) && !SettleLevel(level, lo, hi)) return false;
        }
        for (std::size_t k = 0; k < relation.freeTerms.size(); ++k) {
            const auto& [i, u] = relation.freeTerms[k];
            const Int termLow = m_termLow[k];
            const Int termHigh = m_termHigh[k];
            if (termHigh - termLow <= slack) continue;
            const Int oldLo = m_freeLow[i], oldHi = m_freeHigh[i];
            Narrow(u, 0, exact::Sub(termHigh, high), exact::Sub(termLow, low), m_freeLow[i], m_freeHigh[i]);
            if ((m_freeLow[i] != oldLo || m_freeHigh[i] != oldHi) && !SettleFree(level, i)) return false;
        }
    }
    return true;
}

// The largest m <= hi such that propagation proves every t in [from, m] dead, found by doubling
// the probe and then bisecting; from - 1 when from itself may live.
Int LatticeWalk::DeadRunEnd(std::size_t level, Int from, Int hi) {
    Int dead = exact::Sub(from, 1);
    Int step = 1;
    while (dead < hi && !Polled()) {
        const Int probe = std::min(hi, exact::Add(dead, step));
        Int lo = from;
        Int top = probe;
        if (!Propagate(level, lo, top)) {
            dead = probe;
            step = exact::Mul(step, 2);
            continue;
        }
        // [from, dead] is dead, [from, probe] is not proven so: bisect between them.
        Int low = exact::Add(dead, 1);
        Int high = exact::Sub(probe, 1);
        while (low <= high && !Polled()) {
            const Int middle = low + (high - low) / 2;
            lo = from;
            top = middle;
            if (!Propagate(level, lo, top)) {
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

bool LatticeWalk::Place(std::size_t level, Int t) {
    m_t[level] = t;
    const IntegerRow& partial = m_partial[level];
    const IntegerRow& b = m_basis.vectors[level];
    bool clear = true;
    for (std::size_t i : m_owned[level]) {
        m_x[i] = exact::Add(partial[i], exact::Mul(t, b[i]));
        if (m_mode == Mode::Filtered && m_used[i].count(static_cast<std::int64_t>(m_x[i])) != 0) clear = false;
    }
    return clear;
}

LatticeWalk::Outcome LatticeWalk::Descend(std::size_t level) {
    const std::size_t d = m_basis.Dimension();
    Int lo, hi;
    if (!LevelInterval(level, lo, hi)) return Outcome::Empty;
    if (level + 1 == d) return LastLevel(lo, hi);
    if (level + 2 == d) PrepareLastBounds();
    int emptyInARow = 0;
    for (Int t = lo; t <= hi;) {
        if (Polled()) return Outcome::Halt;
        if (level + 2 == d) {
            const std::optional<Int> next = NextCompletable(t, hi);
            if (!next) return m_stopped ? Outcome::Halt : Outcome::Continue;
            t = *next;
        }
        if (!Place(level, t)) {
            ++t;
            continue;
        }
        IntegerRow& below = m_partial[level + 1];
        const IntegerRow& partial = m_partial[level];
        const IntegerRow& b = m_basis.vectors[level];
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
        emptyInARow = outcome == Outcome::Empty ? emptyInARow + 1 : 0;
        t = emptyInARow >= 2 ? exact::Add(DeadRunEnd(level, exact::Add(t, 1), hi), 1) : exact::Add(t, 1);
    }
    return Outcome::Continue;
}

LatticeWalk::Outcome LatticeWalk::LastLevel(Int lo, Int hi) {
    const std::size_t last = m_basis.Dimension() - 1;
    Int common = 0;  // gcd of t_0..t_{d-2}; the point's gcd is gcd(common, s)
    if (m_mode == Mode::Filtered) {
        for (std::size_t l = 0; l < last; ++l) common = exact::Gcd(common, m_t[l]);
        if (common == 0) {  // one-dimensional: only s = +-1 is coprime, and x_0 > 0 needs s > 0
            lo = std::max<Int>(lo, 1);
            hi = std::min<Int>(hi, 1);
        }
    }
    for (Int s = lo; s <= hi; ++s) {
        if (Polled()) return Outcome::Halt;
        if (m_mode == Mode::Filtered && exact::Gcd(common, s) != 1) continue;
        if (!Place(last, s)) continue;
        m_found.push_back(m_x);
        if (m_mode == Mode::FirstPoint) return Outcome::Halt;
        for (std::size_t i = 0; i < m_size; ++i) m_used[i].insert(static_cast<std::int64_t>(m_x[i]));
        const auto count = static_cast<std::int64_t>(m_found.size());
        if (count >= m_maxRecords || count >= m_recordable) return Outcome::Halt;
        return Outcome::Recorded;
    }
    return Outcome::Continue;
}

void LatticeWalk::PrepareLastBounds() {
    const std::size_t d = m_basis.Dimension();
    const IntegerRow& partial = m_partial[d - 2];
    const IntegerRow& a = m_basis.vectors[d - 2];
    const IntegerRow& b = m_basis.vectors[d - 1];
    m_lastBounds.clear();
    for (std::size_t i : m_owned[d - 1]) {
        // 1 <= partial + a t + b s <= L
        PairBound bound{a[i], b[i], exact::Sub(1, partial[i]), exact::Sub(m_limit, partial[i])};
        if (bound.beta < 0)
            bound = {exact::Neg(bound.alpha), exact::Neg(bound.beta), exact::Neg(bound.upper), exact::Neg(bound.lower)};
        m_lastBounds.push_back(bound);
    }
}

std::optional<Int> LatticeWalk::NextCompletable(Int t, Int hi) {
    while (t <= hi) {
        if (Polled()) return std::nullopt;
        std::size_t low = 0;
        std::size_t high = 0;
        Int lowest = -kUnbounded;
        Int highest = kUnbounded;
        for (std::size_t k = 0; k < m_lastBounds.size(); ++k) {
            const Int l = LowestLast(m_lastBounds[k], t);
            const Int h = HighestLast(m_lastBounds[k], t);
            if (l > lowest) lowest = l, low = k;
            if (h < highest) highest = h, high = k;
        }
        if (lowest <= highest) return t;
        // No s fits at t because of these two bounds; every later t they rule out is out too.
        const std::optional<Int> next =
            NextPairCompletable(m_lastBounds[low], m_lastBounds[high], exact::Add(t, 1), hi);
        if (!next) return std::nullopt;
        t = *next;
    }
    return std::nullopt;
}

std::optional<Int> LatticeWalk::NextPairCompletable(const PairBound& low, const PairBound& high, Int t, Int hi) {
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
        if (Polled()) return std::nullopt;
        if (LowestLast(low, t) <= HighestLast(high, t)) return t;
    }
    return std::nullopt;
}

Int LatticeWalk::RecordableCount() const {
    // Recorded points differ in every coordinate, so no coordinate holds more records than the
    // values it can take: multiples of its column's gcd within its bounds.
    Int fewest = kUnbounded;
    for (std::size_t i = 0; i < m_size; ++i) {
        Int step = 0;
        for (const IntegerRow& b : m_basis.vectors) step = exact::Gcd(step, b[i]);
        if (step == 0) return 0;
        Int lo = 1;
        Int hi = m_limit;
        for (const IntegerRow& u : m_relations) {
            if (u[i] == 0) continue;
            std::vector<bool> others(m_size, true);
            others[i] = false;
            const auto [restMin, restMax] = FreeRange(u, others, m_limit);
            Narrow(u[i], 0, exact::Neg(restMax), exact::Neg(restMin), lo, hi);
        }
        const Int count = lo > hi ? 0 : exact::FloorDiv(hi, step) - exact::CeilDiv(lo, step) + 1;
        fewest = std::min(fewest, std::max<Int>(count, 0));
    }
    return fewest;
}

void LatticeWalk::Run() {
    const std::size_t d = m_basis.Dimension();
    m_found.clear();
    m_stopped = false;
    if (d == 0 || Polled()) return;
    for (int owner : m_owner) {
        if (owner < 0) return;  // a coordinate is 0 on the whole lattice: nothing lies in the box
    }
    m_t.assign(d, 0);
    m_partial.assign(d, IntegerRow(m_size, 0));
    m_x.assign(m_size, 0);
    m_used.assign(m_size, {});
    Descend(0);
}

std::optional<IntegerRow> LatticeWalk::FirstPoint() {
    m_mode = Mode::FirstPoint;
    Run();
    if (m_found.empty()) return std::nullopt;
    return m_found.front();
}

std::vector<IntegerRow> LatticeWalk::FilteredRecords(std::int64_t maxRecords) {
    m_mode = Mode::Filtered;
    m_maxRecords = maxRecords;
    m_recordable = RecordableCount();
    if (m_recordable == 0) return {};
    Run();
    return std::move(m_found);
}

}  // namespace qivara
