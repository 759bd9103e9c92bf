#include "LatticeDescent.h"

#include <algorithm>
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

LatticeDescent::LatticeDescent(KernelBasis basis, std::vector<IntegerRow> relations, Int limit, std::stop_token stop)
    : m_basis(std::move(basis)), m_relations(std::move(relations)), m_limit(limit), m_stop(std::move(stop)) {
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
    // Look-ahead for every level but the last, where all coordinates are fixed.
    m_lookAhead.assign(d, {});
    for (std::size_t j = 0; j + 1 < d; ++j) {
        std::vector<bool> free(m_size);
        for (std::size_t i = 0; i < m_size; ++i) free[i] = m_owner[i] > static_cast<int>(j);
        for (const IntegerRow& u : m_relations) {
            LookAhead ahead;
            ahead.coefficient.assign(j + 1, 0);
            for (std::size_t l = 0; l <= j; ++l) {
                for (std::size_t i = 0; i < m_size; ++i) {
                    if (!free[i])
                        ahead.coefficient[l] =
                            exact::Add(ahead.coefficient[l], exact::Mul(u[i], m_basis.vectors[l][i]));
                }
            }
            std::tie(ahead.restMin, ahead.restMax) = FreeRange(u, free, m_limit);
            m_lookAhead[j].push_back(std::move(ahead));
        }
    }
}

bool LatticeDescent::Polled() {
    if (m_stop.stop_requested()) m_stopped = true;
    return m_stopped;
}

bool LatticeDescent::LevelInterval(std::size_t level, Int& lo, Int& hi) const {
    lo = -kUnbounded;
    hi = kUnbounded;
    const IntegerRow& partial = m_partial[level];
    const IntegerRow& b = m_basis.vectors[level];
    for (std::size_t i : m_owned[level]) Narrow(b[i], partial[i], 1, m_limit, lo, hi);
    for (const LookAhead& ahead : m_lookAhead[level]) {
        if (lo > hi) break;
        Int fixed = 0;
        for (std::size_t l = 0; l < level; ++l) fixed = exact::Add(fixed, exact::Mul(ahead.coefficient[l], m_t[l]));
        Narrow(ahead.coefficient[level], fixed, exact::Neg(ahead.restMax), exact::Neg(ahead.restMin), lo, hi);
    }
    return lo <= hi;
}

bool LatticeDescent::Place(std::size_t level, Int t) {
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

LatticeDescent::Outcome LatticeDescent::Descend(std::size_t level) {
    const std::size_t d = m_basis.Dimension();
    Int lo, hi;
    if (!LevelInterval(level, lo, hi)) return Outcome::Continue;
    if (level + 1 == d) return LastLevel(lo, hi);
    if (level + 2 == d) PrepareLastBounds();
    for (Int t = lo; t <= hi; ++t) {
        if (Polled()) return Outcome::Halt;
        if (level + 2 == d) {
            const std::optional<Int> next = NextCompletable(t, hi);
            if (!next) return m_stopped ? Outcome::Halt : Outcome::Continue;
            t = *next;
        }
        if (!Place(level, t)) continue;
        IntegerRow& below = m_partial[level + 1];
        const IntegerRow& partial = m_partial[level];
        const IntegerRow& b = m_basis.vectors[level];
        for (std::size_t i = 0; i < m_size; ++i) below[i] = exact::Add(partial[i], exact::Mul(t, b[i]));
        const Outcome outcome = Descend(level + 1);
        if (outcome == Outcome::Halt) return outcome;
        // A record shares its first coordinate with every later point under the same t_0, so
        // the filter rejects them all: go straight to the next t_0.
        if (outcome == Outcome::Recorded && level > 0) return outcome;
    }
    return Outcome::Continue;
}

LatticeDescent::Outcome LatticeDescent::LastLevel(Int lo, Int hi) {
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

void LatticeDescent::PrepareLastBounds() {
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

std::optional<Int> LatticeDescent::NextCompletable(Int t, Int hi) {
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

std::optional<Int> LatticeDescent::NextPairCompletable(const PairBound& low, const PairBound& high, Int t, Int hi) {
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

Int LatticeDescent::RecordableCount() const {
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

void LatticeDescent::Run() {
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

std::optional<IntegerRow> LatticeDescent::FirstPoint() {
    m_mode = Mode::FirstPoint;
    Run();
    if (m_found.empty()) return std::nullopt;
    return m_found.front();
}

std::vector<IntegerRow> LatticeDescent::FilteredRecords(std::int64_t maxRecords) {
    m_mode = Mode::Filtered;
    m_maxRecords = maxRecords;
    m_recordable = RecordableCount();
    if (m_recordable == 0) return {};
    Run();
    return std::move(m_found);
}

}  // namespace qivara
