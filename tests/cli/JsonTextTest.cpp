#include <gtest/gtest.h>

#include "JsonText.h"

using qivara::cli::JsonString;

namespace qivara::test {
namespace {

TEST(JsonString, EscapesAndKeepsUtf8) {
    EXPECT_EQ(JsonString("H2O"), "\"H2O\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("x\r\ny\t"), "\"x\\r\\ny\\t\"");
    EXPECT_EQ(JsonString(std::string("\x01\x7F", 2)), "\"\\u0001\\u007f\"");
    EXPECT_EQ(JsonString("信息　"), "\"信息　\"");
}

TEST(JsonString, MalformedUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(JsonString("A\xFF"
                         "B"),
              "\"A\\ufffdB\"");
    EXPECT_EQ(JsonString("\xE4\xB8"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");  // a surrogate
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"");             // overlong
}

}  // namespace
}  // namespace qivara::test
