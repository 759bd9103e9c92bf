#pragma once
// Helpers shared by the engine tests.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CoefficientSearch.h"
#include "EquationSplitter.h"
#include "FormulaParser.h"

namespace qivara::test {

// The search problem of an ASCII equation, or nothing when the job would reject it before the
// search (unsplittable, a formula the parser rejects, different elements on the two sides).
inline std::optional<SearchProblem> TryProblem(const std::string& equation, std::int32_t limit,
                                               std::int32_t resultLimit) {
    JobData job;
    if (!SplitEquation(equation, job)) return std::nullopt;
    job.ReactantCount = job.ReactantList.ListCount();
    job.ProductCount = job.ProductList.ListCount();
    for (Species& s : job.ReactantList.Items()) {
        if (!ParseFormula(s)) return std::nullopt;
    }
    for (Species& s : job.ProductList.Items()) {
        if (!ParseFormula(s)) return std::nullopt;
    }
    if (!ElementsConserved(job)) return std::nullopt;
    job.CoefficientLimit = limit;
    job.ResultLimit = resultLimit;
    return MakeSearchProblem(job);
}

// The same for an equation that must reach the search.
inline SearchProblem ProblemFor(const std::string& equation, std::int32_t limit, std::int32_t resultLimit) {
    std::optional<SearchProblem> problem = TryProblem(equation, limit, resultLimit);
    EXPECT_TRUE(problem.has_value()) << equation << " does not reach the search";
    return problem.value_or(SearchProblem{});
}

using Vectors = std::vector<CoefficientVector>;

}  // namespace qivara::test
