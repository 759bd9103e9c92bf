#pragma once
// A small linear program in floating point: A v = rhs with lower <= v <= upper, its feasibility and
// the least value of a linear cost, each with the row multipliers that prove it. The lattice walk
// uses only the multipliers, rounded to integers and checked in exact arithmetic, so a rounding
// error here can make a proof weaker, never wrong.

#include <cstddef>
#include <vector>

namespace qivara::relax {

class BoundedSimplex {
public:
    // `a` holds `rows` rows of `columns` entries each; lower[k] <= upper[k] for every column.
    BoundedSimplex(std::size_t rows, std::size_t columns, std::vector<double> a, std::vector<double> rhs,
                   std::vector<double> lower, std::vector<double> upper);

    // Phase one. False when no real v satisfies the system within its bounds (or the pivots ran out);
    // Infeasible() then tells which, and Multipliers() holds y with y.(A v) <= max over the box <
    // y.rhs or the mirror image: a proof that the equations cannot hold together.
    bool FindFeasible();
    bool Infeasible() const { return m_infeasible; }

    // Phase two from the current feasible point: the least cost.v, with the multipliers y such that
    // cost - y A is >= 0 on every column at its lower bound and <= 0 at its upper bound. False when
    // the pivots ran out.
    bool Minimise(const std::vector<double>& cost);
    double Value() const { return m_value; }

    const std::vector<double>& Multipliers() const { return m_multipliers; }

private:
    bool Iterate(const std::vector<double>& cost);
    void Pivot(std::size_t row, std::size_t column);
    void ComputeMultipliers(const std::vector<double>& cost);
    double ValueOf(std::size_t column) const;

    std::size_t m_rows, m_columns, m_width;  // width: columns plus one artificial per row
    std::vector<double> m_tableau;           // B^-1 [A | D], row-major
    std::vector<double> m_lower, m_upper;    // per column of the tableau
    std::vector<double> m_sign;              // D: the artificial of row r has column D_r e_r
    std::vector<std::size_t> m_basic;        // the basic column of each row
    std::vector<double> m_basicValue;
    std::vector<char> m_atUpper;  // nonbasic columns: at the upper bound instead of the lower
    std::vector<char> m_isBasic;
    std::vector<double> m_multipliers;
    double m_value = 0;
    bool m_infeasible = false;
};

}  // namespace qivara::relax
