#include <gtest/gtest.h>

#include "TableRows.h"
#include "formula/FormulaParser.h"
#include "job/EquationSplitter.h"

namespace qivara::test {
namespace {

std::vector<std::string> Formulas(const List<Species>& side) {
    std::vector<std::string> formulas;
    for (const Species& s : side.Items()) formulas.push_back(s.Formula);
    return formulas;
}

struct SplitCase {
    const char* name;
    std::string equation;
    bool accepted;
    std::vector<std::string> reactants;  // what the lists hold afterwards, also on failure
    std::vector<std::string> products;
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, SidesAndSpecies) {
    const SplitCase& c = GetParam();
    JobData job;
    EXPECT_EQ(SplitEquation(c.equation, job), c.accepted);
    EXPECT_EQ(Formulas(job.ReactantList), c.reactants);
    EXPECT_EQ(Formulas(job.ProductList), c.products);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTable,
    testing::Values(SplitCase{"Empty", "", false, {}, {}}, SplitCase{"OnePiece", "H2O", false, {}, {}},
                    SplitCase{"EmptyTailIsNoPiece", "H2+O2=", false, {}, {}},
                    SplitCase{"EmptyLeft", "=H2O", false, {}, {}},
                    SplitCase{"EmptyBetweenTwoEquals", "H2+O2==H2O", false, {}, {}},
                    SplitCase{"SecondEqualsEndsRightSide", "H2+O2=H2O=XYZ", true, {"H2", "O2"}, {"H2O"}},
                    SplitCase{"TrailingEquals", "H2+O2=H2O=", true, {"H2", "O2"}, {"H2O"}},
                    SplitCase{"TrailingPlus", "H2+O2+=H2O", true, {"H2", "O2"}, {"H2O"}},
                    SplitCase{"DoublePlus", "H2++O2=H2O", false, {"H2"}, {}},
                    SplitCase{"LeadingPlus", "+H2=H2", false, {}, {}},
                    SplitCase{"UnbalancedParentheses", "Ca(OH2=CaO+H2O", false, {}, {}},
                    SplitCase{"ParenthesesInIgnoredTailCount", "H2=H2=(", false, {}, {}},
                    SplitCase{"ParenthesesCountOnly", "Ca)OH(2=CaO", true, {"Ca)OH(2"}, {"CaO"}},
                    SplitCase{"FullWidthSeparatorsAreText",
                              "H2\xA3\xAB"
                              "O2\xA3\xBD"
                              "H2O",
                              false,
                              {},
                              {}},
                    SplitCase{"SpacesStayInSpecies", " =H2", true, {" "}, {"H2"}},
                    SplitCase{"RightSideEmptySpeciesAfterLeftBuilt", "A+B=C++D", false, {"A", "B"}, {"C"}},
                    SplitCase{"SameFormulaTwice", "H2+H2=H2", true, {"H2", "H2"}, {"H2"}}),
    RowName());

JobData Parsed(const std::string& equation) {
    JobData job;
    EXPECT_TRUE(SplitEquation(equation, job));
    for (Species& s : job.ReactantList.Items()) EXPECT_TRUE(ParseFormula(s));
    for (Species& s : job.ProductList.Items()) EXPECT_TRUE(ParseFormula(s));
    return job;
}

TEST(ElementsConserved, ComparesSetsNotAmountsNorOrder) {
    EXPECT_TRUE(ElementsConserved(Parsed("NaOH+HCl=NaCl+H2O")));
    EXPECT_TRUE(ElementsConserved(Parsed("C+O2=CO")));
    EXPECT_TRUE(ElementsConserved(Parsed("H2O=H2O")));
    EXPECT_FALSE(ElementsConserved(Parsed("H2=O2")));
    EXPECT_FALSE(ElementsConserved(Parsed("H2+O2=H2")));
    EXPECT_FALSE(ElementsConserved(Parsed("Na=N")));  // codes 1401 and 1400 differ
    EXPECT_TRUE(ElementsConserved(Parsed("H0=H2")));
}

}  // namespace
}  // namespace qivara::test
