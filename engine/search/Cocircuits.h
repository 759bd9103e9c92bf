#pragma once
// Relations of an integer kernel chosen for the lattice walk's bound propagation.

#include <cstddef>
#include <vector>

#include "search/IntegerKernel.h"

namespace qivara {

// Cocircuits of the kernel: vectors u with u.x = 0 on the whole lattice whose support is minimal
// (d + 1 coordinates or fewer for a kernel of dimension d), primitive, first nonzero entry
// positive, without repeats. Each comes from a set of d + 1 coordinates as the one relation
// among them. The sets are the ones that make a level's interval exact: for level j, the pivots
// of b_0..b_j together with d - j of the coordinates deeper levels fix, at most `budget` sets per
// level (each relation is evaluated at every node, so more of them cost more than they prune).
// Kernels of dimension below 3 get none (the element rows and the last-level jump are exact
// enough there).
template <typename T>
std::vector<RowOf<T>> CocircuitsOf(const KernelBasisOf<T>& basis, std::size_t budget);

inline std::vector<IntegerRow> Cocircuits(const KernelBasis& basis, std::size_t budget) {
    return CocircuitsOf(basis, budget);
}

}  // namespace qivara
