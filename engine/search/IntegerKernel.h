#pragma once
// The integer kernel of a matrix as a lattice basis in echelon (Hermite) form.

#include <cstddef>
#include <vector>

#include "search/CheckedInt.h"
#include "search/WideInt.h"

namespace qivara {

// The search's integers come in two widths: exact::Int (checked 128-bit, the fast path) and
// exact::Wide (unbounded, for what leaves 128 bits). The lattice code is written for both.
template <typename T>
using RowOf = std::vector<T>;
using IntegerRow = RowOf<exact::Int>;
using WideRow = RowOf<exact::Wide>;

// A basis b_0..b_{d-1} of {x in Z^n : A x = 0}, the whole integer kernel (not a sublattice), in
// row echelon form: b_j is 0 before its pivot column pivots[j], b_j[pivots[j]] > 0, the pivots
// strictly increase, and entries above a pivot are reduced into [0, pivot). Every kernel point is
// then sum t_j b_j for unique integers t_j, and x[pivots[j]] grows strictly with t_j.
template <typename T>
struct KernelBasisOf {
    std::vector<RowOf<T>> vectors;
    std::vector<std::size_t> pivots;

    std::size_t Dimension() const { return vectors.size(); }
};
using KernelBasis = KernelBasisOf<exact::Int>;

// Kernel of the matrix whose rows are `rows`, each of `columns` entries. The 128-bit version
// throws exact::ArithmeticOverflow if an intermediate value leaves 128 bits; the wide one cannot.
template <typename T>
KernelBasisOf<T> IntegerKernelOf(const std::vector<RowOf<T>>& rows, std::size_t columns);

inline KernelBasis IntegerKernel(const std::vector<IntegerRow>& rows, std::size_t columns) {
    return IntegerKernelOf<exact::Int>(rows, columns);
}

// Rows converted to the other width (narrowing throws exact::ArithmeticOverflow past 128 bits).
std::vector<WideRow> Widened(const std::vector<IntegerRow>& rows);

}  // namespace qivara
