#include <gtest/gtest.h>

#include "TableRows.h"
#include "Text.h"

namespace qivara::test {
namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::string sought;
    std::int64_t start;
    int ignoreCase;
    std::int32_t expected;
};

class TextFindTable : public testing::TestWithParam<FindCase> {};

TEST_P(TextFindTable, FindsFirstMatchByCharacters) {
    const FindCase& c = GetParam();
    EXPECT_EQ(TextFind(c.text, c.sought, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFindTable,
    testing::Values(FindCase{"Middle", "ABC", "B", 1, 0, 2}, FindCase{"Absent", "ABC", "D", 1, 0, -1},
                    FindCase{"InEmpty", "", "A", 1, 0, -1}, FindCase{"EmptySought", "ABC", "", 1, 0, 1},
                    FindCase{"EmptyInEmpty", "", "", 1, 0, -1},
                    FindCase{"EmptySoughtLaterStartStillOne", "ABC", "", 3, 0, 1},
                    FindCase{"EmptySoughtPastEnd", "ABC", "", 4, 0, -1},
                    FindCase{"StartCountsInWholeText", "ABAB", "A", 2, 0, 3},
                    FindCase{"StartPastEnd", "ABAB", "A", 5, 0, -1}, FindCase{"StartBelowOne", "ABAB", "A", -3, 0, 1},
                    FindCase{"FoldCase", "CaCO3", "ca", 1, 1, 1}, FindCase{"ExactCase", "CaCO3", "ca", 1, 0, -1},
                    FindCase{"FlagOtherThanOneIsExact", "CaCO3", "ca", 1, 2, -1},
                    FindCase{"NoMatchOnSecondByte",
                             "\xB0\x41"
                             "A",
                             "A", 1, 0, 3},
                    FindCase{"StartOnSecondByteMatches", "\xB0\x41", "A", 2, 0, 2},
                    FindCase{"LoneLeadByteAtEndEnds", "AB\xB0", "\xB0", 1, 0, 3},
                    FindCase{"LoneLeadByteBeforeEnd", "\xB0", "X", 1, 0, -1},
                    FindCase{"FullWidthSpace", "H2\xA1\xA1O", "\xA1\xA1", 1, 0, 3},
                    FindCase{"LongerThanText", "AB", "ABC", 1, 0, -1}),
    RowName());

TEST(TextMid, CutsByBytes) {
    EXPECT_EQ(TextMid("H2O", 4, 1), "");
    EXPECT_EQ(TextMid("H2O", 0, 1), "");
    EXPECT_EQ(TextMid("H2O", 2, 5), "2O");
    EXPECT_EQ(TextMid("H2O", 1, 0), "");
    EXPECT_EQ(TextMid("\xB0\xA1X", 2, 2), "\xA1X");
}

TEST(TextLeft, CutsByBytes) {
    EXPECT_EQ(TextLeft("NaCl", 0), "");
    EXPECT_EQ(TextLeft("NaCl", -1), "");
    EXPECT_EQ(TextLeft("NaCl", 9), "NaCl");
    EXPECT_EQ(TextLeft("\xB0\xA1", 1), "\xB0");
    EXPECT_EQ(TextLength("\xB0\xA1X"), 3);
}

struct SplitCase {
    const char* name;
    std::string text;
    std::string separator;
    std::int64_t limit;
    std::vector<std::string> expected;
};

class TextSplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(TextSplitTable, SplitsWithPieceLimit) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(TextSplit(c.text, c.separator, c.limit), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextSplitTable,
    testing::Values(SplitCase{"TrailingSeparatorAddsNothing", "A+B+", "+", 3, {"A", "B"}},
                    SplitCase{"EmptyText", "", "+", 3, {}}, SplitCase{"LimitDropsRest", "A=B=C", "=", 2, {"A", "B"}},
                    SplitCase{"EmptyFirstPiece", "=B", "=", 2, {"", "B"}},
                    SplitCase{"EmptyLastPieceDropped", "A=", "=", 2, {"A"}},
                    SplitCase{"EmptyMiddlePiece", "A==B", "=", 2, {"A", ""}}, SplitCase{"ZeroLimit", "A=B", "=", 0, {}},
                    SplitCase{"NegativeLimit", "A=B", "=", -1, {}}, SplitCase{"EmptySeparator", "A=B", "", 5, {"A=B"}},
                    SplitCase{"NoSeparator", "AB", "=", 5, {"AB"}},
                    SplitCase{"SeparatorInsideDoubleByteIgnored", "\xB0=X=Y", "=", 3, {"\xB0=X", "Y"}},
                    SplitCase{"LoneLeadAtEndEndsScan", "A=\xB0", "=", 3, {"A", "\xB0"}},
                    SplitCase{"ManyPieces", "A+B+C", "+", 3, {"A", "B", "C"}}),
    RowName());

TEST(TrimTrailingSpaces, RemovesAsciiAndFullWidthSpacesAtTheEndOnly) {
    EXPECT_EQ(TrimTrailingSpaces("H2O \xA1\xA1 "), "H2O");
    EXPECT_EQ(TrimTrailingSpaces(" H2O"), " H2O");
    EXPECT_EQ(TrimTrailingSpaces("H 2O"), "H 2O");
    EXPECT_EQ(TrimTrailingSpaces("   "), "");
    EXPECT_EQ(TrimTrailingSpaces("H2O\xB0"), "H2O");
    // A1 A1 only counts as a space when it is one character: here A1 is a second byte.
    EXPECT_EQ(TrimTrailingSpaces("\xB0\xA1\xA1"), "\xB0\xA1");
    EXPECT_EQ(TrimTrailingSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(TextReplace, DeletesFirstOccurrenceOnly) {
    EXPECT_EQ(TextReplace("(A)2(B)2", "(", "", 1, true), "A)2(B)2");
    EXPECT_EQ(TextReplace("A)2B)2", ")2", "", 1, true), "AB)2");
    EXPECT_EQ(TextReplace("A)2B)2", ")2", "", -1, true), "AB");
    EXPECT_EQ(TextReplace("ABC", "", "x", 1, true), "ABC");
    EXPECT_EQ(TextReplace("ABC", "B", "x", 0, true), "ABC");
    EXPECT_EQ(TextReplace("abc", "B", "x", 1, false), "axc");
    EXPECT_EQ(TextReplace("\xB0(", "(", "", 1, true), "\xB0(");  // "(" is a second byte here
}

TEST(CountOccurrences, CountsOverlappingMatchesRestartingOneByteOn) {
    EXPECT_EQ(CountOccurrences("A+B+C", "+"), 2);
    EXPECT_EQ(CountOccurrences("AAA", "AA"), 2);
    EXPECT_EQ(CountOccurrences("", "+"), 0);
    // Two full-width spaces in a row: the restart at p + 1 also matches across them.
    EXPECT_EQ(CountOccurrences("\xA1\xA1\xA1\xA1", "\xA1\xA1"), 3);
}

TEST(CharFromCode, UsesLowByteAndZeroIsEmpty) {
    EXPECT_EQ(CharFromCode('A'), "A");
    EXPECT_EQ(CharFromCode(0x141), "A");
    EXPECT_EQ(CharFromCode(0), "");
    EXPECT_EQ(CharFromCode(256), "");
}

TEST(TextCompare, ComparesUnsignedBytes) {
    EXPECT_EQ(TextCompare("开始", "开始"), 0);
    EXPECT_LT(TextCompare("A", "B"), 0);
    EXPECT_GT(TextCompare("\xB0", "A"), 0);
    EXPECT_LT(TextCompare("", "A"), 0);
    EXPECT_GT(TextCompare("AB", "A"), 0);
}

}  // namespace
}  // namespace qivara::test
