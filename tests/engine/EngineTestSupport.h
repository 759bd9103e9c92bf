#pragma once
// Helpers shared by the engine tests.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "job/PreparedSearch.h"

namespace qivara::test {

// The search problem of an ASCII equation, or nothing when the job would reject it before the
// search (unsplittable, a formula the parser rejects, different elements on the two sides).
inline std::optional<SearchProblem> TryProblem(const std::string& equation, std::int32_t limit,
                                               std::int32_t resultLimit) {
    auto prepared = PrepareSearch(equation, std::to_string(limit), std::to_string(resultLimit));
    if (auto* search = std::get_if<PreparedSearch>(&prepared)) return std::move(search->problem);
    return std::nullopt;
}

// The same for an equation that must reach the search.
inline SearchProblem ProblemFor(const std::string& equation, std::int32_t limit, std::int32_t resultLimit) {
    std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
    EXPECT_TRUE(problem.has_value()) << equation << " does not reach the search";
    return problem.value_or(SearchProblem{});
}

using Vectors = std::vector<CoefficientVector>;

}  // namespace qivara::test
