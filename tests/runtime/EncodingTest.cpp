#include <gtest/gtest.h>

#include "Encoding.h"

namespace qivara::test {
namespace {

TEST(Encoding, RoundTripsChineseAndAscii) {
    const std::string text = "配平 H2O　开始";
    const std::string cp936 = Cp936FromUtf8(text);
    EXPECT_EQ(cp936.substr(0, 2), "\xC5\xE4");  // 配
    EXPECT_NE(cp936.find("\xA1\xA1"), std::string::npos);
    EXPECT_EQ(Utf8FromCp936(cp936), text);
}

TEST(Encoding, FullWidthDigitsAndPunctuation) {
    EXPECT_EQ(Cp936FromUtf8("１６"), "\xA3\xB1\xA3\xB6");
    EXPECT_EQ(Cp936FromUtf8("！"), "\xA3\xA1");
}

TEST(Encoding, UnconvertibleAndMalformedBecomeARejectedByte) {
    EXPECT_EQ(Cp936FromUtf8("H2\xF0\x9F\x98\x80O"), "H2?O");  // an emoji has no code-page-936 form
    EXPECT_EQ(Cp936FromUtf8("H\xFFO"), "H?O");                // malformed UTF-8
    EXPECT_EQ(Cp936FromUtf8("H\xE4\xB8"), "H?");              // cut short at the end
}

TEST(Encoding, TextEndsAtTheFirstNul) { EXPECT_EQ(Cp936FromUtf8(std::string("H2\0O", 4)), "H2"); }

TEST(Encoding, InvalidCodePage936BecomesReplacementCharacter) {
    EXPECT_EQ(Utf8FromCp936("A\xFF"), "A\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromCp936("A\xB0"), "A\xEF\xBF\xBD");  // lone first byte
}

}  // namespace
}  // namespace qivara::test
