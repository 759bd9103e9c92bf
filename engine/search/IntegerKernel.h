#pragma once
// The integer kernel of a matrix as a lattice basis in echelon (Hermite) form.

#include <cstddef>
#include <vector>

#include "search/CheckedInt.h"

namespace qivara {

using IntegerRow = std::vector<exact::Int>;

// A basis b_0..b_{d-1} of {x in Z^n : A x = 0}, the whole integer kernel (not a sublattice), in
// row echelon form: b_j is 0 before its pivot column pivots[j], b_j[pivots[j]] > 0, the pivots
// strictly increase, and entries above a pivot are reduced into [0, pivot). Every kernel point is
// then sum t_j b_j for unique integers t_j, and x[pivots[j]] grows strictly with t_j.
struct KernelBasis {
    std::vector<IntegerRow> vectors;
    std::vector<std::size_t> pivots;

    std::size_t Dimension() const { return vectors.size(); }
};

// Kernel of the matrix whose rows are `rows`, each of `columns` entries. Throws
// exact::ArithmeticOverflow if an intermediate value leaves 128 bits.
KernelBasis IntegerKernel(const std::vector<IntegerRow>& rows, std::size_t columns);

}  // namespace qivara
