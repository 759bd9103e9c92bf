#include "search/LatticeSearch.h"

#include <algorithm>
#include <optional>
#include <type_traits>

#include "search/Cocircuits.h"
#include "search/LatticeWalk.h"
#include "search/ReferenceSearch.h"

namespace qivara {
namespace {

using exact::Int;

// Element rows with reactant columns +count and product columns -count, columns in descent
// order: column i is species n-1-i, so lexicographic order of a row's columns is the
// reference's co-lexicographic order of coefficient vectors.
std::vector<IntegerRow> SignedElementRows(const SearchProblem& problem) {
    const std::size_t n = problem.SpeciesCount();
    const auto reactants = static_cast<std::size_t>(problem.reactantCount);
    const auto signedRow = [&](const std::vector<std::int32_t>& counts) {
        IntegerRow row(n);
        for (std::size_t k = 0; k < n; ++k) row[n - 1 - k] = k < reactants ? Int{counts[k]} : -Int{counts[k]};
        return row;
    };
    std::vector<IntegerRow> rows;
    for (const std::vector<std::int32_t>& counts : problem.elementCounts) rows.push_back(signedRow(counts));
    return rows;
}

// The charge row signed the same way, when the problem has one.
std::optional<IntegerRow> SignedChargeRow(const SearchProblem& problem) {
    if (problem.charges.empty()) return std::nullopt;
    SearchProblem charge;
    charge.reactantCount = problem.reactantCount;
    charge.elementCounts = {problem.charges};
    return SignedElementRows(charge).front();
}

template <typename T>
CoefficientVector ToCoefficients(const RowOf<T>& x) {
    CoefficientVector c(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) c[x.size() - 1 - i] = static_cast<std::int64_t>(x[i]);
    return c;
}

template <typename T>
bool Balanced(const std::vector<RowOf<T>>& rows, const RowOf<T>& x) {
    for (const RowOf<T>& row : rows) {
        T sum = 0;
        for (std::size_t i = 0; i < x.size(); ++i) sum = exact::Add(sum, exact::Mul(row[i], x[i]));
        if (sum != 0) return false;
    }
    return true;
}

// The walk in integers of type T: the problem's rows, the kernel, the cocircuits and the walk.
template <typename T>
SearchResult WalkLatticeOnce(const SearchProblem& problem, const SearchControl& control) {
    const auto rowsOf = [](std::vector<IntegerRow> rows) {
        if constexpr (std::is_same_v<T, Int>) {
            return rows;
        } else {
            return Widened(rows);
        }
    };
    SearchResult result;
    if (control.stop.stop_requested()) {
        result.stopped = true;
        return result;
    }
    const std::size_t n = problem.SpeciesCount();
    const std::vector<RowOf<T>> elementRows = rowsOf(SignedElementRows(problem));
    // What a balanced vector conserves: every element and, when there is one, the charge.
    std::vector<RowOf<T>> conserved = elementRows;
    if (std::optional<IntegerRow> charge = SignedChargeRow(problem)) conserved.push_back(rowsOf({*charge}).front());

    // Only the all-ones vector is examined; its one full test records it if it is balanced
    // (with nothing recorded yet, the multiple filter passes it).
    if (problem.coefficientLimit <= 1) {
        const RowOf<T> ones(n, T(1));
        if (Balanced(conserved, ones)) result.solutions.push_back(ToCoefficients(ones));
        return result;
    }
    const T limit = problem.coefficientLimit;

    if (problem.resultLimit <= 0) {
        // The reference stops after the full test of the first vector whose AtomBalance is 0:
        // the first point of the lattice of that one equation (atoms only: a charge is none),
        // recorded if it is balanced.
        RowOf<T> atomRow(n, T(0));
        for (const RowOf<T>& row : elementRows) {
            for (std::size_t i = 0; i < n; ++i) atomRow[i] = exact::Add(atomRow[i], row[i]);
        }
        LatticeWalkOf<T> walk(IntegerKernelOf<T>({atomRow}, n), {atomRow}, {}, limit, control.stop);
        const std::optional<RowOf<T>> first = walk.FirstPoint();
        result.stopped = walk.Stopped();
        result.widened = !std::is_same_v<T, Int>;
        if (first && Balanced(conserved, *first)) result.solutions.push_back(ToCoefficients(*first));
        return result;
    }

    KernelBasisOf<T> basis = IntegerKernelOf<T>(conserved, n);
    // Beyond the element rows, cocircuits let the walk's propagation prove subtrees empty. Per
    // level, 16 measured best over generated kernels of dimension 3 to 5 (qivara-bench): 4 let
    // some walks wander, 32 make every node dearer.
    constexpr std::size_t kCocircuitBudget = 16;
    std::vector<RowOf<T>> cocircuits = CocircuitsOf(basis, kCocircuitBudget);
    LatticeWalkOf<T> walk(std::move(basis), conserved, std::move(cocircuits), limit, control.stop);
    for (const RowOf<T>& x : walk.FilteredRecords(problem.resultLimit)) result.solutions.push_back(ToCoefficients(x));
    result.stopped = walk.Stopped();
    result.widened = !std::is_same_v<T, Int>;
    return result;
}

}  // namespace

SearchResult LatticeWalkSearch(const SearchProblem& problem, const SearchControl& control) {
    try {
        return WalkLatticeOnce<Int>(problem, control);
    } catch (const exact::ArithmeticOverflow&) {
        // The same walk again in wide integers: exact at any size, slower only where 128 bits end.
        return WalkLatticeOnce<exact::Wide>(problem, control);
    }
}

SearchResult LatticeSearch(const SearchProblem& problem, const SearchControl& control) {
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
    return LatticeWalkSearch(problem, {control.stop, {}});
}

}  // namespace qivara
