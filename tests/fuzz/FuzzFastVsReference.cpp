// Fuzzes the lattice engine against the literal enumeration on fuzzer-chosen problems whose box the
// literal enumeration finishes quickly. Any difference in the recorded vectors, their order or
// the stop flag aborts.
//
// Input bytes: species count, reactant count, element count, limit, result limit, then the
// element counts row by row (each byte taken modulo 13, so zeros are common).

#include <cstdint>
#include <cstdlib>

#include "search/CoefficientSearch.h"
#include "search/LatticeSearch.h"
#include "search/ReferenceSearch.h"

namespace {

using namespace qivara;

// The largest box the literal enumeration walks for one input.
constexpr std::int64_t kMaxBox = 200000;

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Next() { return m_at < m_size ? m_data[m_at++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    const std::size_t species = 2 + bytes.Next() % 6;  // 2..7
    const auto reactants = static_cast<std::int32_t>(1 + bytes.Next() % (species - 1));
    const std::size_t elements = 1 + bytes.Next() % 4;
    SearchProblem problem;
    problem.reactantCount = reactants;
    problem.coefficientLimit = static_cast<std::int32_t>(bytes.Next() % 20) - 3;  // -3..16
    problem.resultLimit = static_cast<std::int32_t>(bytes.Next() % 20) - 2;       // -2..17
    problem.elementCounts.assign(elements, std::vector<std::int32_t>(species, 0));
    for (auto& row : problem.elementCounts) {
        for (std::int32_t& count : row) count = bytes.Next() % 13;
    }
    std::int64_t box = 1;
    for (std::size_t k = 0; k < species && box <= kMaxBox; ++k)
        box *= std::max<std::int32_t>(problem.coefficientLimit, 1);
    if (box > kMaxBox) return 0;

    const SearchResult reference = ReferenceSearch(problem, {});
    const SearchResult fast = RunCoefficientSearch(SearchEngine::Lattice, problem, {});
    const SearchResult lattice = LatticeWalkSearch(problem, {});
    if (fast.stopped || reference.stopped || lattice.stopped) std::abort();
    if (fast.solutions != reference.solutions) std::abort();
    if (lattice.solutions != reference.solutions) std::abort();
    return 0;
}
