#include "search/LinearRelaxation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qivara::relax {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Pivots smaller than this are not taken; reduced costs within it count as zero.
constexpr double kTolerance = 1e-9;
// Dantzig's rule for this many pivots, then Bland's, which cannot cycle.
constexpr int kGreedyPivots = 40;
// The programs the walk asks are tiny (a dozen rows, a few dozen columns): a run longer than this
// means cycling or numerical trouble, and the answer "don't know" is always safe.
constexpr int kMaxPivots = 400;

}  // namespace

BoundedSimplex::BoundedSimplex(std::size_t rows, std::size_t columns, std::vector<double> a, std::vector<double> rhs,
                               std::vector<double> lower, std::vector<double> upper)
    : m_rows(rows), m_columns(columns), m_width(columns + rows) {
    m_lower = std::move(lower);
    m_upper = std::move(upper);
    m_lower.resize(m_width, 0.0);
    m_upper.resize(m_width, kInfinity);
    m_tableau.assign(m_rows * m_width, 0.0);
    m_sign.assign(m_rows, 1.0);
    m_basic.resize(m_rows);
    m_basicValue.assign(m_rows, 0.0);
    m_atUpper.assign(m_width, 0);
    m_isBasic.assign(m_width, 0);
    // Start with every column at its lower bound and one artificial per row taking up the residual.
    for (std::size_t r = 0; r < m_rows; ++r) {
        double residual = rhs[r];
        for (std::size_t k = 0; k < m_columns; ++k) residual -= a[r * m_columns + k] * m_lower[k];
        m_sign[r] = residual < 0 ? -1.0 : 1.0;
        double* row = &m_tableau[r * m_width];
        for (std::size_t k = 0; k < m_columns; ++k) row[k] = m_sign[r] * a[r * m_columns + k];
        row[m_columns + r] = 1.0;
        m_basic[r] = m_columns + r;
        m_isBasic[m_columns + r] = 1;
        m_basicValue[r] = std::abs(residual);
    }
}

double BoundedSimplex::ValueOf(std::size_t column) const {
    return m_atUpper[column] ? m_upper[column] : m_lower[column];
}

void BoundedSimplex::Pivot(std::size_t row, std::size_t column) {
    double* pivotRow = &m_tableau[row * m_width];
    const double pivot = pivotRow[column];
    for (std::size_t k = 0; k < m_width; ++k) pivotRow[k] /= pivot;
    for (std::size_t r = 0; r < m_rows; ++r) {
        if (r == row) continue;
        double* other = &m_tableau[r * m_width];
        const double factor = other[column];
        if (factor == 0.0) continue;
        for (std::size_t k = 0; k < m_width; ++k) other[k] -= factor * pivotRow[k];
        other[column] = 0.0;
    }
}

bool BoundedSimplex::Iterate(const std::vector<double>& cost) {
    std::vector<double> basicCost(m_rows);
    for (int pivots = 0; pivots < kMaxPivots; ++pivots) {
        for (std::size_t r = 0; r < m_rows; ++r) basicCost[r] = cost[m_basic[r]];
        // The entering column: one whose reduced cost says moving it off its bound lowers the cost.
        std::size_t entering = m_width;
        double best = 0;
        for (std::size_t k = 0; k < m_width; ++k) {
            if (m_isBasic[k] || m_upper[k] - m_lower[k] <= kTolerance) continue;
            double reduced = cost[k];
            for (std::size_t r = 0; r < m_rows; ++r) reduced -= basicCost[r] * m_tableau[r * m_width + k];
            const double gain = m_atUpper[k] ? reduced : -reduced;
            if (gain <= kTolerance) continue;
            if (pivots >= kGreedyPivots) {
                entering = k;
                break;
            }
            if (gain > best) best = gain, entering = k;
        }
        if (entering == m_width) return true;
        const double direction = m_atUpper[entering] ? -1.0 : 1.0;
        // Ratio test: how far the entering column can move before it or a basic column meets a bound.
        double step = m_upper[entering] - m_lower[entering];
        std::size_t leaving = m_rows;
        double leavingPivot = 0;
        for (std::size_t r = 0; r < m_rows; ++r) {
            const double alpha = m_tableau[r * m_width + entering] * direction;
            const std::size_t b = m_basic[r];
            double limit = kInfinity;
            if (alpha > kTolerance) {
                limit = (m_basicValue[r] - m_lower[b]) / alpha;
            } else if (alpha < -kTolerance) {
                limit = (m_upper[b] - m_basicValue[r]) / -alpha;
            } else {
                continue;
            }
            limit = std::max(limit, 0.0);
            if (limit < step || (limit == step && leaving < m_rows && std::abs(alpha) > leavingPivot)) {
                step = limit;
                leaving = r;
                leavingPivot = std::abs(alpha);
            }
        }
        if (step == kInfinity) return false;
        for (std::size_t r = 0; r < m_rows; ++r)
            m_basicValue[r] -= m_tableau[r * m_width + entering] * direction * step;
        if (leaving == m_rows) {
            m_atUpper[entering] = !m_atUpper[entering];
            continue;
        }
        const std::size_t out = m_basic[leaving];
        const double alpha = m_tableau[leaving * m_width + entering] * direction;
        m_atUpper[out] = alpha < 0 ? 1 : 0;
        m_isBasic[out] = 0;
        const double enteringValue = direction > 0 ? m_lower[entering] + step : m_upper[entering] - step;
        Pivot(leaving, entering);
        m_basic[leaving] = entering;
        m_isBasic[entering] = 1;
        m_atUpper[entering] = 0;
        m_basicValue[leaving] = enteringValue;
    }
    return false;
}

void BoundedSimplex::ComputeMultipliers(const std::vector<double>& cost) {
    // y = c_B B^-1, and B^-1 = (the artificial columns of the tableau) D, D being its own inverse.
    m_multipliers.assign(m_rows, 0.0);
    for (std::size_t j = 0; j < m_rows; ++j) {
        double sum = 0;
        for (std::size_t r = 0; r < m_rows; ++r) sum += cost[m_basic[r]] * m_tableau[r * m_width + m_columns + j];
        m_multipliers[j] = sum * m_sign[j];
    }
    m_value = 0;
    for (std::size_t r = 0; r < m_rows; ++r) m_value += cost[m_basic[r]] * m_basicValue[r];
    for (std::size_t k = 0; k < m_width; ++k) {
        if (!m_isBasic[k]) m_value += cost[k] * ValueOf(k);
    }
}

bool BoundedSimplex::FindFeasible() {
    std::vector<double> cost(m_width, 0.0);
    double scale = 1;
    for (std::size_t r = 0; r < m_rows; ++r) {
        cost[m_columns + r] = 1.0;
        scale = std::max(scale, m_basicValue[r]);
    }
    m_infeasible = false;
    if (!Iterate(cost)) return false;
    ComputeMultipliers(cost);
    if (m_value > 1e-7 * scale) {
        m_infeasible = true;
        return false;
    }
    // From here on the artificials stay at 0: none may enter again.
    for (std::size_t r = 0; r < m_rows; ++r) m_upper[m_columns + r] = 0.0;
    return true;
}

bool BoundedSimplex::Minimise(const std::vector<double>& cost) {
    std::vector<double> full(cost);
    full.resize(m_width, 0.0);
    if (!Iterate(full)) return false;
    ComputeMultipliers(full);
    return true;
}

}  // namespace qivara::relax
