#include "FastSearch.h"

#include <algorithm>

#include "LatticeDescent.h"
#include "ReferenceSearch.h"

namespace qivara {
namespace {

using exact::Int;

// Element rows with reactant columns +count and product columns -count, columns in descent
// order: column i is species n-1-i, so lexicographic order of a row's columns is the
// reference's co-lexicographic order of coefficient vectors.
std::vector<IntegerRow> SignedElementRows(const SearchProblem& problem) {
    const std::size_t n = problem.SpeciesCount();
    const auto reactants = static_cast<std::size_t>(problem.reactantCount);
    std::vector<IntegerRow> rows;
    for (const std::vector<std::int32_t>& counts : problem.elementCounts) {
        IntegerRow row(n);
        for (std::size_t k = 0; k < n; ++k) row[n - 1 - k] = k < reactants ? Int{counts[k]} : -Int{counts[k]};
        rows.push_back(std::move(row));
    }
    return rows;
}

CoefficientVector ToCoefficients(const IntegerRow& x) {
    CoefficientVector c(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) c[x.size() - 1 - i] = static_cast<std::int64_t>(x[i]);
    return c;
}

bool Balanced(const std::vector<IntegerRow>& rows, const IntegerRow& x) {
    for (const IntegerRow& row : rows) {
        Int sum = 0;
        for (std::size_t i = 0; i < x.size(); ++i) sum = exact::Add(sum, exact::Mul(row[i], x[i]));
        if (sum != 0) return false;
    }
    return true;
}

// Cocircuits of the kernel: the vectors u with u.x = 0 on the lattice whose support is minimal,
// found for each set of d+1 coordinates as the one relation among them. Walking with them as
// look-ahead makes every level's interval the exact real shadow of the box, so a kernel of
// dimension 3 or more does not wander through long runs of empty subtrees. Their number grows as
// C(n, d+1); beyond kMaxCocircuitSets candidate sets the element rows alone are used.
std::vector<IntegerRow> Cocircuits(const KernelBasis& basis, std::size_t n) {
    constexpr std::size_t kMaxCocircuitSets = 256;
    const std::size_t d = basis.Dimension();
    std::vector<IntegerRow> found;
    if (d < 3 || d + 1 > n) return found;
    std::vector<bool> chosen(n, false);
    std::fill(chosen.end() - static_cast<std::ptrdiff_t>(d + 1), chosen.end(), true);
    std::size_t sets = 0;
    do {
        if (++sets > kMaxCocircuitSets) return {};
        std::vector<std::size_t> columns;
        for (std::size_t i = 0; i < n; ++i) {
            if (chosen[i]) columns.push_back(i);
        }
        std::vector<IntegerRow> equations;
        for (const IntegerRow& b : basis.vectors) {
            IntegerRow row;
            for (std::size_t i : columns) row.push_back(b[i]);
            equations.push_back(std::move(row));
        }
        const KernelBasis relation = IntegerKernel(equations, columns.size());
        if (relation.Dimension() != 1) continue;
        IntegerRow u(n, 0);
        for (std::size_t k = 0; k < columns.size(); ++k) u[columns[k]] = relation.vectors[0][k];
        if (std::find(found.begin(), found.end(), u) == found.end()) found.push_back(std::move(u));
    } while (std::next_permutation(chosen.begin(), chosen.end()));
    return found;
}

SearchResult WalkLattice(const SearchProblem& problem, const SearchControl& control) {
    SearchResult result;
    if (control.stop.stop_requested()) {
        result.stopped = true;
        return result;
    }
    const std::size_t n = problem.SpeciesCount();
    const std::vector<IntegerRow> elementRows = SignedElementRows(problem);

    // Only the all-ones vector is examined; its one full test records it if it is balanced
    // (with nothing recorded yet, the multiple filter passes it).
    if (problem.coefficientLimit <= 1) {
        const IntegerRow ones(n, 1);
        if (Balanced(elementRows, ones)) result.solutions.push_back(ToCoefficients(ones));
        return result;
    }
    const Int limit = problem.coefficientLimit;

    if (problem.resultLimit <= 0) {
        // The reference stops after the full test of the first vector whose AtomBalance is 0:
        // the first point of the lattice of that one equation, recorded if it is balanced.
        IntegerRow atomRow(n, 0);
        for (const IntegerRow& row : elementRows) {
            for (std::size_t i = 0; i < n; ++i) atomRow[i] = exact::Add(atomRow[i], row[i]);
        }
        LatticeDescent walk(IntegerKernel({atomRow}, n), {atomRow}, limit, control.stop);
        const std::optional<IntegerRow> first = walk.FirstPoint();
        result.stopped = walk.Stopped();
        if (first && Balanced(elementRows, *first)) result.solutions.push_back(ToCoefficients(*first));
        return result;
    }

    KernelBasis basis = IntegerKernel(elementRows, n);
    std::vector<IntegerRow> relations = elementRows;
    for (IntegerRow& u : Cocircuits(basis, n)) relations.push_back(std::move(u));
    LatticeDescent walk(std::move(basis), std::move(relations), limit, control.stop);
    for (const IntegerRow& x : walk.FilteredRecords(problem.resultLimit)) result.solutions.push_back(ToCoefficients(x));
    result.stopped = walk.Stopped();
    return result;
}

}  // namespace

SearchResult LatticeSearch(const SearchProblem& problem, const SearchControl& control) {
    try {
        return WalkLattice(problem, control);
    } catch (const exact::ArithmeticOverflow&) {
        return ReferenceSearch(problem, control);
    }
}

SearchResult FastSearch(const SearchProblem& problem, const SearchControl& control) {
    // The literal prefix ends on the caller's stop request or once its budget is spent; its
    // result, when it finishes, is the reference's by definition.
    std::stop_source prefixStop;
    const std::stop_callback relay(control.stop, [&prefixStop] { prefixStop.request_stop(); });
    std::size_t examined = 0;
    SearchControl prefix;
    prefix.stop = prefixStop.get_token();
    prefix.onExamined = [&](const CoefficientVector&) {
        if (++examined > kLiteralPrefixVectors) prefixStop.request_stop();
    };
    SearchResult literal = ReferenceSearch(problem, prefix);
    if (!literal.stopped) return literal;
    if (control.stop.stop_requested()) return SearchResult{{}, true};
    return LatticeSearch(problem, {control.stop, {}});
}

}  // namespace qivara
