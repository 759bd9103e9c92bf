#pragma once
// Helpers shared by the engine tests.

#include <gtest/gtest.h>

#include <string>

#include "CoefficientSearch.h"
#include "EquationSplitter.h"
#include "FormulaParser.h"

namespace qivara::test {

// The search problem of an ASCII equation that must split, parse and pass the element check.
inline SearchProblem ProblemFor(const std::string& equation, std::int32_t limit, std::int32_t resultLimit) {
    JobData job;
    EXPECT_TRUE(SplitEquation(equation, job)) << equation;
    job.ReactantCount = job.ReactantList.ListCount();
    job.ProductCount = job.ProductList.ListCount();
    for (Species& s : job.ReactantList.Items()) EXPECT_TRUE(ParseFormula(s)) << s.Formula;
    for (Species& s : job.ProductList.Items()) EXPECT_TRUE(ParseFormula(s)) << s.Formula;
    EXPECT_TRUE(ElementsConserved(job)) << equation;
    job.CoefficientLimit = limit;
    job.ResultLimit = resultLimit;
    return MakeSearchProblem(job);
}

using Vectors = std::vector<CoefficientVector>;

}  // namespace qivara::test
