#include "search/Cocircuits.h"

#include <algorithm>
#include <utility>

namespace qivara {
namespace {

// The one relation sum u_c column_c = 0 among the given columns of `rows` (as many rows as
// columns less one) into `u`, primitive with its first nonzero entry positive; false when the
// rows' rank is lower. Fraction-free elimination keeps every step exact. `a` is scratch space.
template <typename T>
bool ColumnRelation(const std::vector<RowOf<T>>& rows, const std::vector<std::size_t>& columns, RowOf<T>& a,
                    RowOf<T>& u) {
    const std::size_t k = columns.size();
    const std::size_t m = rows.size();
    a.resize(m * k);
    const auto at = [&a, k](std::size_t r, std::size_t c) -> T& { return a[r * k + c]; };
    for (std::size_t r = 0; r < m; ++r) {
        for (std::size_t c = 0; c < k; ++c) at(r, c) = rows[r][columns[c]];
    }
    std::size_t pivotColumn[64];  // m < 64: the callers' kernels are far smaller
    std::size_t pivots = 0;
    std::size_t freeColumn = k;
    T previous = 1;
    for (std::size_t c = 0; c < k; ++c) {
        std::size_t p = pivots;
        while (p < m && at(p, c) == 0) ++p;
        if (p == m) {
            if (freeColumn != k) return false;  // a second column without a pivot: rank too low
            freeColumn = c;
            continue;
        }
        const std::size_t r = pivots;
        if (p != r) {
            for (std::size_t cc = 0; cc < k; ++cc) std::swap(at(p, cc), at(r, cc));
        }
        for (std::size_t i = r + 1; i < m; ++i) {
            for (std::size_t cc = c + 1; cc < k; ++cc)
                at(i, cc) = exact::Quotient(
                    exact::Sub(exact::Mul(at(r, c), at(i, cc)), exact::Mul(at(i, c), at(r, cc))), previous);
            at(i, c) = 0;
        }
        previous = at(r, c);
        pivotColumn[pivots++] = c;
    }
    if (pivots != m || freeColumn == k) return false;
    // Back substitution with one common denominator: u = numerator / denominator.
    u.assign(k, 0);
    u[freeColumn] = 1;
    for (std::size_t r = m; r-- > 0;) {
        const std::size_t c = pivotColumn[r];
        T sum = 0;
        for (std::size_t cc = c + 1; cc < k; ++cc) sum = exact::Add(sum, exact::Mul(at(r, cc), u[cc]));
        // a[r][c] u_c + sum = 0: scale everything by a[r][c] / g so that u_c = -sum / g is whole.
        const T g = exact::Gcd(sum, at(r, c));
        const T scale = g == 0 ? T(1) : exact::Quotient(at(r, c), g);
        if (scale != 1) {
            for (T& value : u) value = exact::Mul(value, scale);
        }
        u[c] = g == 0 ? T(0) : exact::Neg(exact::Quotient(sum, g));
    }
    T common = 0;
    for (const T& value : u) common = exact::Gcd(common, value);
    const auto first = std::find_if(u.begin(), u.end(), [](const T& value) { return value != 0; });
    if (first == u.end()) return false;
    if (*first < 0) common = exact::Neg(common);
    for (T& value : u) value = exact::Quotient(value, common);
    return true;
}

}  // namespace

template <typename T>
std::vector<RowOf<T>> CocircuitsOf(const KernelBasisOf<T>& basis, std::size_t budget) {
    const std::size_t d = basis.Dimension();
    std::vector<RowOf<T>> found;
    if (d < 3 || d >= 64) return found;  // ColumnRelation keeps fewer than 64 pivots
    const std::size_t n = basis.vectors.front().size();
    std::vector<std::size_t> owner(n, 0);  // last level whose vector is nonzero there
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < d; ++j) {
            if (basis.vectors[j][i] != 0) owner[i] = j;
        }
    }
    std::vector<std::size_t> columns;
    RowOf<T> scratch, relation;
    for (std::size_t j = d - 1; j-- > 0;) {
        std::size_t tried = 0;
        std::vector<std::size_t> deeper;
        for (std::size_t i = 0; i < n; ++i) {
            if (owner[i] > j) deeper.push_back(i);
        }
        const std::size_t pick = d - j;
        if (deeper.size() < pick) continue;
        std::vector<bool> chosen(deeper.size(), false);
        std::fill(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(pick), true);
        do {
            if (tried++ == budget) break;
            columns.assign(basis.pivots.begin(), basis.pivots.begin() + static_cast<std::ptrdiff_t>(j + 1));
            for (std::size_t k = 0; k < deeper.size(); ++k) {
                if (chosen[k]) columns.push_back(deeper[k]);
            }
            std::sort(columns.begin(), columns.end());
            try {
                if (!ColumnRelation(basis.vectors, columns, scratch, relation)) continue;
                RowOf<T> u(n, T(0));
                for (std::size_t k = 0; k < columns.size(); ++k) u[columns[k]] = relation[k];
                found.push_back(std::move(u));
            } catch (const exact::ArithmeticOverflow&) {
                // A relation past 128 bits is left out; the walk only loses some narrowing.
            }
        } while (std::prev_permutation(chosen.begin(), chosen.end()));
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

template std::vector<IntegerRow> CocircuitsOf(const KernelBasis&, std::size_t);
template std::vector<WideRow> CocircuitsOf(const KernelBasisOf<exact::Wide>&, std::size_t);

}  // namespace qivara
