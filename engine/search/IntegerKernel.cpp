#include "search/IntegerKernel.h"

#include <utility>

namespace qivara {
namespace {

// row -= q * pivotRow
template <typename T>
void SubtractMultiple(RowOf<T>& row, const RowOf<T>& pivotRow, const T& q) {
    if (q == 0) return;
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = exact::Sub(row[i], exact::Mul(q, pivotRow[i]));
}

// The integer nearest a / b for b != 0, floor(a / b + 1/2): subtracting that multiple leaves a
// remainder of at most half the divisor, which keeps the entries of the rows small.
template <typename T>
T NearestQuotient(const T& a, const T& b) {
    return exact::FloorDiv(exact::Add(exact::Mul(a, 2), b), exact::Mul(b, 2));
}

// Unimodular row operations on rows[first..] until at most rows[first] has a nonzero entry in
// `column` (Euclid's algorithm across the rows, with remainders of least magnitude). Returns false
// when the column is already zero there. Unimodular steps keep the rows a basis of the same lattice.
template <typename T>
bool EliminateColumn(std::vector<RowOf<T>>& rows, std::size_t first, std::size_t column) {
    for (;;) {
        std::size_t smallest = rows.size();
        for (std::size_t r = first; r < rows.size(); ++r) {
            if (rows[r][column] == 0) continue;
            if (smallest == rows.size() || exact::Abs(rows[r][column]) < exact::Abs(rows[smallest][column]))
                smallest = r;
        }
        if (smallest == rows.size()) return false;
        std::swap(rows[first], rows[smallest]);
        bool othersZero = true;
        for (std::size_t r = first + 1; r < rows.size(); ++r) {
            if (rows[r][column] == 0) continue;
            SubtractMultiple(rows[r], rows[first], NearestQuotient(rows[r][column], rows[first][column]));
            othersZero = othersZero && rows[r][column] == 0;
        }
        if (othersZero) return true;
    }
}

}  // namespace

template <typename T>
KernelBasisOf<T> IntegerKernelOf(const std::vector<RowOf<T>>& rows, std::size_t columns) {
    // Reduce [A^T | I] by unimodular row operations until the A^T part is in echelon form: the
    // rows whose A^T part became zero carry, in their I part, a basis of the integer kernel.
    const std::size_t equations = rows.size();
    std::vector<RowOf<T>> work(columns, RowOf<T>(equations + columns, T(0)));
    for (std::size_t i = 0; i < columns; ++i) {
        for (std::size_t e = 0; e < equations; ++e) work[i][e] = rows[e][i];
        work[i][equations + i] = 1;
    }
    std::size_t rank = 0;
    for (std::size_t e = 0; e < equations && rank < columns; ++e) {
        if (EliminateColumn(work, rank, e)) ++rank;
    }
    std::vector<RowOf<T>> kernel;
    for (std::size_t r = rank; r < columns; ++r)
        kernel.emplace_back(work[r].begin() + static_cast<std::ptrdiff_t>(equations), work[r].end());

    // Hermite form of the kernel basis: echelon, positive pivots, entries above reduced.
    KernelBasisOf<T> basis;
    std::size_t placed = 0;
    for (std::size_t column = 0; column < columns && placed < kernel.size(); ++column) {
        if (!EliminateColumn(kernel, placed, column)) continue;
        RowOf<T>& pivotRow = kernel[placed];
        if (pivotRow[column] < 0) {
            for (T& value : pivotRow) value = exact::Neg(value);
        }
        for (std::size_t r = 0; r < placed; ++r) {
            SubtractMultiple(kernel[r], pivotRow, exact::FloorDiv(kernel[r][column], pivotRow[column]));
        }
        basis.pivots.push_back(column);
        ++placed;
    }
    basis.vectors = std::move(kernel);
    return basis;
}

template KernelBasisOf<exact::Int> IntegerKernelOf(const std::vector<IntegerRow>&, std::size_t);
template KernelBasisOf<exact::Wide> IntegerKernelOf(const std::vector<WideRow>&, std::size_t);

std::vector<WideRow> Widened(const std::vector<IntegerRow>& rows) {
    std::vector<WideRow> wide;
    for (const IntegerRow& row : rows) {
        WideRow& out = wide.emplace_back();
        for (const exact::Int value : row) out.push_back(exact::Widened(value));
    }
    return wide;
}

}  // namespace qivara
