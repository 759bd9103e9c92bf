#include <gtest/gtest.h>

#include "FatalExitStatus.h"
#include "Numbers.h"
#include "TableRows.h"

namespace qivara::test {
namespace {

struct IntegerCase {
    const char* name;
    std::string text;
    std::int32_t expected;
};

class TextToIntegerTable : public testing::TestWithParam<IntegerCase> {};

TEST_P(TextToIntegerTable, Reads) { EXPECT_EQ(TextToInteger(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, TextToIntegerTable,
                         testing::Values(IntegerCase{"FullWidthDigits", "\xA3\xB1\xA3\xB6", 16},
                                         IntegerCase{"Empty", "", 0}, IntegerCase{"TrailingLetters", "7x", 7},
                                         IntegerCase{"TwelveThenLetters", "12abc", 12},
                                         IntegerCase{"LeadingBlanks", "  12", 12}, IntegerCase{"LettersOnly", "abc", 0},
                                         IntegerCase{"SpaceThenMinus", " -5", -5}, IntegerCase{"Plus", "+8", 8},
                                         IntegerCase{"FullWidthMinus", "\xA3\xAD\xA3\xB3", -3},
                                         IntegerCase{"FullWidthSpaceIsBlank",
                                                     "\xA1\xA1"
                                                     "9",
                                                     9},
                                         IntegerCase{"TabsAndNewlines", "\t\n\v\f\r4", 4},
                                         IntegerCase{"SignAlone", "-", 0}, IntegerCase{"DoubleSign", "--4", 0},
                                         IntegerCase{"OtherDoubleByteStops",
                                                     "1\xB0\xA1"
                                                     "2",
                                                     1},
                                         IntegerCase{"LoneLeadByteEndsWalk", "3\xA3", 3},
                                         IntegerCase{"MaxInt", "2147483647", 2147483647},
                                         IntegerCase{"ClampedHigh", "99999999999", 2147483647},
                                         IntegerCase{"ClampedHighHuge", std::string(400, '9'), 2147483647},
                                         IntegerCase{"MinInt", "-2147483648", -2147483647 - 1},
                                         IntegerCase{"ClampedLow", "-99999999999", -2147483647 - 1}),
                         RowName());

TEST(NumberToText, IntegersAsDecimal) {
    EXPECT_EQ(NumberToText(std::int64_t{-12}), "-12");
    EXPECT_EQ(NumberToText(std::int64_t{0}), "0");
    EXPECT_EQ(NumberToText(std::int64_t{64}), "64");
}

TEST(NumberToText, RealsWithThirteenDigitsAndThreeDigitExponent) {
    EXPECT_EQ(NumberToText(3.0), "3");
    EXPECT_EQ(NumberToText(0.5), "0.5");
    EXPECT_EQ(NumberToText(1e13), "1e+013");
    EXPECT_EQ(NumberToText(1e-5), "1e-005");
    EXPECT_EQ(NumberToText(1e300), "1e+300");
    EXPECT_EQ(NumberToText(1234567890123.0), "1234567890123");
    EXPECT_EQ(NumberToText(1.0 / 3.0), "0.3333333333333");
    EXPECT_EQ(NumberToText(-2.5e20), "-2.5e+020");
}

TEST(RealToInteger, TruncatesTowardZero) {
    EXPECT_EQ(RealToInteger(2.9), 2);
    EXPECT_EQ(RealToInteger(-2.9), -2);
    EXPECT_EQ(RealToInteger(4294967298.0), 2);  // low 32 bits
}

TEST(RealRemainder, HasTheSignOfTheDividend) {
    EXPECT_EQ(RealRemainder(7, 3), 1);
    EXPECT_EQ(RealRemainder(-7, 3), -1);
    EXPECT_EQ(RealRemainder(7, -3), 1);
    EXPECT_EQ(RealRemainder(8, 4), 0);
}

TEST(RealRemainderDeathTest, ByZeroIsFatalWithoutErrorCode) {
    // Message text in code page 936 goes to stderr as UTF-8 through the default handler.
    EXPECT_EXIT(RealRemainder(7, 0), testing::ExitedWithCode(testing_support::kFatalExitStatus),
                "运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n");
}

TEST(SortIntegers, BothDirections) {
    std::vector<std::int32_t> values{800, 1500, 1400, 800};
    SortIntegers(values, false);
    EXPECT_EQ(values, (std::vector<std::int32_t>{1500, 1400, 800, 800}));
    SortIntegers(values, true);
    EXPECT_EQ(values, (std::vector<std::int32_t>{800, 800, 1400, 1500}));
}

}  // namespace
}  // namespace qivara::test
