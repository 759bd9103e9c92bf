#include <gtest/gtest.h>

#include <random>

#include "LiteralExpansion.h"
#include "TableRows.h"
#include "formula/FormulaParser.h"
#include "formula/FormulaText.h"
#include "formula/GroupSweep.h"

namespace qivara::test {
namespace {

struct Parsed {
    std::vector<std::string> symbols;
    std::vector<std::int32_t> counts;
    std::int64_t atomTotal;
};

std::optional<Parsed> Parse(const std::string& formula) {
    Species species;
    species.Formula = formula;
    species.ResultCoefficients.ListAppend(5);  // must be emptied
    if (!ParseFormula(species)) return std::nullopt;
    EXPECT_EQ(species.ResultCoefficients.ListCount(), 0);
    EXPECT_EQ(species.Formula, formula);
    return Parsed{species.ElementSymbols.Items(), species.ElementCounts.Items(), species.AtomTotal};
}

// ParseFormula against the symbol scan of the literally expanded text.
testing::AssertionResult ParsesAsTheLiteralScan(const std::string& formula) {
    const std::optional<Composition> literal = LiteralParseFormula(formula);
    const std::optional<Parsed> parsed = Parse(formula);
    if (parsed.has_value() != literal.has_value()) {
        return testing::AssertionFailure() << formula << (parsed ? " parsed" : " rejected") << ", the literal scan not";
    }
    if (!parsed) return testing::AssertionSuccess();
    std::int64_t total = 0;
    for (std::int32_t count : literal->counts) total += count;
    if (parsed->symbols != literal->symbols || parsed->counts != literal->counts || parsed->atomTotal != total) {
        return testing::AssertionFailure() << formula << ": symbols, counts or total differ from the literal scan";
    }
    return testing::AssertionSuccess();
}

ShortcutParse WithoutCopies(const std::string& formula) {
    Species species;
    species.Formula = formula;
    return ParseFormulaWithoutCopies(species);
}

struct AcceptedCase {
    const char* name;
    std::string formula;
    std::vector<std::string> symbols;
    std::vector<std::int32_t> counts;
};

class AcceptedFormulas : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedFormulas, YieldSymbolsCountsAndTotal) {
    const AcceptedCase& c = GetParam();
    const std::optional<Parsed> parsed = Parse(c.formula);
    ASSERT_TRUE(parsed.has_value()) << c.formula;
    EXPECT_EQ(parsed->symbols, c.symbols);
    EXPECT_EQ(parsed->counts, c.counts);
    std::int64_t total = 0;
    for (std::int32_t count : c.counts) total += count;
    EXPECT_EQ(parsed->atomTotal, total);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedFormulas,
    testing::Values(AcceptedCase{"Water", "H2O", {"H", "O"}, {2, 1}},
                    AcceptedCase{"RepeatedSymbolsMerge", "NH4NO3", {"N", "H", "O"}, {2, 4, 3}},
                    AcceptedCase{"GroupWithMultiplier", "Fe2(SO4)3", {"Fe", "S", "O"}, {2, 3, 12}},
                    AcceptedCase{"LeadingGroup", "(NH4)2SO4", {"N", "H", "S", "O"}, {2, 8, 1, 4}},
                    AcceptedCase{"Hydroxide", "Ca(OH)2", {"Ca", "O", "H"}, {1, 2, 2}},
                    AcceptedCase{"MultiplierOne", "Ca(OH)1", {"Ca", "O", "H"}, {1, 1, 1}},
                    AcceptedCase{"TwoGroups", "(OH)2(OH)3", {"O", "H"}, {5, 5}},
                    AcceptedCase{"MultiDigitCounts", "C12H22O11", {"C", "H", "O"}, {12, 22, 11}},
                    AcceptedCase{"TwoCapitals", "NO", {"N", "O"}, {1, 1}},
                    AcceptedCase{"CapitalSmall", "No", {"No"}, {1}}, AcceptedCase{"NoElementTable", "Xy2", {"Xy"}, {2}},
                    AcceptedCase{"CountZero", "H0", {"H"}, {0}},
                    AcceptedCase{"MultiplierZeroCountsGroupOnce", "Ca(OH)0", {"Ca", "O", "H"}, {1, 1, 1}},
                    AcceptedCase{"LeadingZeroCount", "H02", {"H"}, {2}},
                    AcceptedCase{"MultiplierOfZerosLeavesZeros", "Ca(OH)00", {"Ca", "O", "H"}, {1, 1, 0}},
                    AcceptedCase{"TwoGroupsSameMultiplier", "Mg(OH)2(NO3)2", {"Mg", "O", "H", "N"}, {1, 8, 2, 2}},
                    AcceptedCase{"GroupAroundSmallLetter", "C(l)1", {"Cl"}, {1}},
                    AcceptedCase{"MultiplierRemovalJoinsLetters", "(N)2a", {"Na", "N"}, {1, 1}},
                    AcceptedCase{"GroupOfDigitsJoinsCount", "H2(3)2", {"H"}, {233}},
                    AcceptedCase{"LargestCount", "H2147483647", {"H"}, {2147483647}},
                    AcceptedCase{
                        "GroupTimesFiftyThousand", "H100000(SO4)50000", {"H", "S", "O"}, {100000, 50000, 200000}},
                    // Scanned alone, the group's H would pass 2^31-1; in the text it is He.
                    AcceptedCase{"LaterSmallLetterUndoesOverflow", "H2147483647(H)1e", {"H", "He"}, {2147483647, 1}},
                    AcceptedCase{"TwentySymbolsThenRepeats",
                                 "HHeLiBeBCNOFNeNaMgAlSiPSClArKCaH2He3Ca0",
                                 {"H",  "He", "Li", "Be", "B", "C", "N",  "O",  "F", "Ne",
                                  "Na", "Mg", "Al", "Si", "P", "S", "Cl", "Ar", "K", "Ca"},
                                 {3, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}}),
    RowName());

// The last group's multiplier is read on into the copies of the first group: (5)2(A) becomes
// 5(A)5 after the first pass, then 5AAAAA; the symbol scan rejects its leading digit.
TEST(ExpandGroups, MultiplierAtTheEndReadsIntoAppendedCopies) {
    EXPECT_EQ(ExpandGroups("(5)2(A)"), std::optional<std::string>("5AAAAA"));
    EXPECT_EQ(ExpandGroups("Fe2(SO4)3"), std::optional<std::string>("Fe2SO4SO4SO4"));
    EXPECT_EQ(ExpandGroups("(NH4)2SO4"), std::optional<std::string>("NH4SO4NH4"));
}

struct RejectedCase {
    const char* name;
    std::string formula;
};

class RejectedFormulas : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedFormulas, AreUnrecognised) { EXPECT_FALSE(Parse(GetParam().formula).has_value()) << GetParam().formula; }

INSTANTIATE_TEST_SUITE_P(Cases, RejectedFormulas,
                         testing::Values(RejectedCase{"Nested", "Ca(Al(OH)4)2"}, RejectedCase{"NoMultiplier", "Ca(OH)"},
                                         RejectedCase{"EmptyGroup", "()2"}, RejectedCase{"CloseBeforeOpen", "Ca)OH(2"},
                                         RejectedCase{"Unclosed", "Ca(OH2"}, RejectedCase{"CloseWithoutOpen", "CaOH)2"},
                                         RejectedCase{"LeadingCoefficient", "2H2O"}, RejectedCase{"SmallFirst", "h2O"},
                                         RejectedCase{"SmallAfterCount", "H2o"}, RejectedCase{"ThreeLetters", "Uuo"},
                                         RejectedCase{"NonAsciiDot",
                                                      "CuSO4\xA1\xA4"
                                                      "5H2O"},
                                         RejectedCase{"Sign", "Fe+3"}, RejectedCase{"Space", "H2 O"},
                                         RejectedCase{"LeadingZeroMultiplier", "Ca(OH)02"},
                                         RejectedCase{"Bracket", "Ca[OH]2"},
                                         RejectedCase{"TrailingMultiplierIntoCopies", "(5)2(A)"},
                                         RejectedCase{"CountBeyond32Bits", "H2147483648"},
                                         RejectedCase{"AccumulatedCountBeyond32Bits", "H2147483647H"},
                                         RejectedCase{"MultiplierBeyond32Bits", "(H)2147483648"},
                                         RejectedCase{"ExpansionBeyondOneMebibyte", "(H)2147483647"},
                                         RejectedCase{"ExpansionJustBeyondBound", "(HO)524288"},
                                         RejectedCase{"AccumulatedThroughGroups", "(H1073741824)2"}),
                         RowName());

TEST(ParseFormula, ExpansionBoundIsOneMebibyteOfWorkingText) {
    // "(H)1048560" is 10 bytes and gains 1048559 copies: 1048569 bytes, inside the bound.
    const std::optional<Parsed> parsed = Parse("(H)1048560");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->counts, std::vector<std::int32_t>{1048560});
    // Ten more copies pass 1048576 bytes.
    EXPECT_FALSE(Parse("(H)1048570").has_value());
}

TEST(ExpandGroups, AgreesWithThePassByPassExpansion) {
    // Mostly well-formed groups with short multipliers (zeros, leading zeros and none included),
    // with a stray parenthesis, digit or small letter now and then, so that every path of a pass
    // comes up, and pieces of the expansion that join the one before them.
    const std::vector<std::string> pieces{"H",    "e",   "O",    "He", "2", "0",  "1",  "3", "(H)",
                                          "(O2)", "(3)", "(He)", "(",  ")", "(H", "O)", "l", "(Cl)"};
    std::mt19937 random(20261208);
    int parsedCount = 0;
    int parsedWithoutCopies = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string formula;
        const int length = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < length; ++i) formula += pieces[random() % pieces.size()];
        const auto fast = ExpandGroups(formula);
        const auto literal = LiteralExpandGroups(formula);
        ASSERT_EQ(fast, literal) << formula;
        ASSERT_TRUE(ParsesAsTheLiteralScan(formula));
        parsedCount += fast.has_value() && formula.find('(') != std::string::npos;
        parsedWithoutCopies +=
            WithoutCopies(formula) == ShortcutParse::Parsed && formula.find('(') != std::string::npos;
    }
    EXPECT_GT(parsedCount, 1000);  // the comparison exercised real expansions
    EXPECT_GT(parsedWithoutCopies, 500);
}

TEST(ParseFormula, LargeMultipliersAgreeWithTheLiteralScan) {
    // One group with a multiplier up to 2^19 between short texts: counts that pass 2^31-1 only when
    // multiplied, expansions over the bound, a second group, and pieces that join their neighbour.
    const std::vector<std::string> contents{"SO4", "H", "OH", "He2", "H99999", "l", "3", "N"};
    const std::vector<std::string> around{"", "H", "Na2", "e", "0", "(O)2", "Cl3", "2"};
    std::mt19937 random(20261209);
    int parsedWithoutCopies = 0;
    for (int round = 0; round < 300; ++round) {
        const std::uint32_t multiplier = 2 + random() % (2u << (random() % 19));
        const std::string formula = around[random() % around.size()] + "(" + contents[random() % contents.size()] +
                                    ")" + std::to_string(multiplier) + around[random() % around.size()];
        ASSERT_TRUE(ParsesAsTheLiteralScan(formula));
        parsedWithoutCopies += WithoutCopies(formula) == ShortcutParse::Parsed;
    }
    EXPECT_GT(parsedWithoutCopies, 50);
}

TEST(ParseFormula, AgreesWithTheLiteralScanAtTheExpansionBound) {
    // pad... + (content)multiplier + suffix with the working text one byte under, at and one byte
    // over the bound. Copies that start with a small letter or a digit need the expanded text.
    struct Row {
        std::string pad, content, suffix;
        bool withoutCopies;
    };
    for (const Row& row : {Row{"H", "SO4", "", true}, Row{"H", "SO4", "O", true}, Row{"C", "N", "a", true},
                           Row{"C", "aB", "", false}, Row{"H", "0", "", false}}) {
        const std::size_t multiplier = (kMaxExpandedFormulaBytes - 32) / row.content.size();
        const std::size_t grown = (multiplier - 1) * row.content.size();
        const std::size_t fixed = 2 + row.content.size() + std::to_string(multiplier).size() + row.suffix.size();
        for (int over : {-1, 0, 1}) {
            std::string formula;
            for (std::size_t i = grown + fixed; i < kMaxExpandedFormulaBytes + over; ++i) formula += row.pad;
            formula += "(" + row.content + ")" + std::to_string(multiplier) + row.suffix;
            ASSERT_EQ(formula.size() + grown, kMaxExpandedFormulaBytes + over);
            EXPECT_EQ(ExpandGroups(formula).has_value(), over <= 0) << formula;
            EXPECT_TRUE(ParsesAsTheLiteralScan(formula));
            EXPECT_EQ(WithoutCopies(formula) != ShortcutParse::NeedsCopies, row.withoutCopies || over > 0) << formula;
        }
    }
}

TEST(TextBetween, FirstOpenAndFollowingClose) {
    EXPECT_EQ(TextBetween("Ca(OH)2", "(", ")"), "OH");
    EXPECT_EQ(TextBetween("Ca)O(H)2", "(", ")"), "H");
    EXPECT_EQ(TextBetween("CaOH)2", "(", ")"), "");
    EXPECT_EQ(TextBetween("Ca(OH2", "(", ")"), "");
    EXPECT_EQ(TextBetween("()", "(", ")"), "");
}

TEST(ElementCode, TableOfCodes) {
    const std::vector<std::pair<std::string, std::int32_t>> table{{"H", 800},   {"He", 805}, {"Cl", 312}, {"N", 1400},
                                                                  {"Na", 1401}, {"O", 1500}, {"Zn", 2614}};
    for (const auto& [symbol, code] : table) EXPECT_EQ(ElementCode(symbol), code) << symbol;
}

TEST(SortedElementCodes, LargestFirst) {
    EXPECT_EQ(SortedElementCodes({"H", "O", "N"}), (std::vector<std::int32_t>{1500, 1400, 800}));
    EXPECT_EQ(SortedElementCodes({}), std::vector<std::int32_t>{});
}

}  // namespace
}  // namespace qivara::test
