#include <gtest/gtest.h>

#include "TableRows.h"
#include "job/ResultReport.h"

namespace qivara::test {
namespace {

// A job whose species carry the given solutions (one row per solution, reactants first).
JobData JobWith(const std::vector<std::string>& reactants, const std::vector<std::string>& products,
                const std::vector<std::vector<std::int32_t>>& solutions) {
    JobData job;
    auto add = [](List<Species>& side, const std::string& formula) {
        Species s;
        s.Formula = formula;
        side.ListAppend(s);
    };
    for (const auto& f : reactants) add(job.ReactantList, f);
    for (const auto& f : products) add(job.ProductList, f);
    for (const auto& solution : solutions) {
        std::size_t k = 0;
        for (Species& s : job.ReactantList.Items()) s.ResultCoefficients.ListAppend(solution[k++]);
        for (Species& s : job.ProductList.Items()) s.ResultCoefficients.ListAppend(solution[k++]);
    }
    return job;
}

struct ReportCase {
    const char* name;
    std::vector<std::string> reactants;
    std::vector<std::string> products;
    std::vector<std::vector<std::int32_t>> solutions;
    std::string balanced;
    std::string coefficients;
};

class ResultTextTable : public testing::TestWithParam<ReportCase> {};

TEST_P(ResultTextTable, BothDisplayModes) {
    const ReportCase& c = GetParam();
    const JobData job = JobWith(c.reactants, c.products, c.solutions);
    EXPECT_EQ(ResultText(job, DisplayMode::BalancedEquation), c.balanced);
    EXPECT_EQ(ResultText(job, DisplayMode::CoefficientsOnly), c.coefficients);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResultTextTable,
    testing::Values(
        ReportCase{"OneSolutionNoSeparator", {"H2", "Cl2"}, {"HCl"}, {{1, 1, 2}}, "H2+Cl2=2HCl", "1,1,2"},
        ReportCase{"TwoSolutionsFullWidthSpace",
                   {"H2", "O2"},
                   {"H2O", "H2O2"},
                   {{3, 2, 2, 1}, {8, 5, 6, 2}},
                   "3H2+2O2=2H2O+H2O2\xA1\xA1"
                   "8H2+5O2=6H2O+2H2O2",
                   "3,2,2,1\xA1\xA1"
                   "8,5,6,2"},
        ReportCase{
            "TwoReactantsThreeProducts", {"A", "B"}, {"C", "D", "E"}, {{1, 2, 3, 4, 5}}, "A+2B=3C+4D+5E", "1,2,3,4,5"},
        ReportCase{"MultiDigitCoefficients", {"H2"}, {"H2"}, {{12, 12}}, "12H2=12H2", "12,12"},
        ReportCase{"ThreeSolutions",
                   {"H0"},
                   {"H0"},
                   {{1, 1}, {3, 2}, {2, 3}},
                   "H0=H0\xA1\xA1"
                   "3H0=2H0\xA1\xA1"
                   "2H0=3H0",
                   "1,1\xA1\xA1"
                   "3,2\xA1\xA1"
                   "2,3"}),
    RowName());

}  // namespace
}  // namespace qivara::test
