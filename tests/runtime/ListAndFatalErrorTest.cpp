#include <gtest/gtest.h>

#include "Encoding.h"
#include "FatalError.h"
#include "FatalExitStatus.h"
#include "List.h"

namespace qivara::test {
namespace {

TEST(List, PositionsFromOne) {
    List<int> list;
    list.ListAppend(7);
    list.ListAppend(9);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.ListAt(1), 7);
    EXPECT_EQ(list.ListAt(2), 9);
    list.ListAt(2) = 3;
    EXPECT_EQ(list.ListAt(2), 3);
    list.Empty();
    EXPECT_EQ(list.ListCount(), 0);
}

TEST(List, AppendStoresACopy) {
    std::string text = "H2O";
    List<std::string> list;
    list.ListAppend(text);
    text[0] = 'X';
    EXPECT_EQ(list.ListAt(1), "H2O");
}

TEST(ListDeathTest, PositionZeroIsError4) {
    List<int> list;
    list.ListAppend(1);
    EXPECT_EXIT(list.ListAt(0), testing::ExitedWithCode(testing_support::kFatalExitStatus),
                "错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1");
}

TEST(ListDeathTest, PositionAfterLastIsError1) {
    List<int> list;
    list.ListAppend(1);
    EXPECT_EXIT(list.ListAt(2), testing::ExitedWithCode(testing_support::kFatalExitStatus),
                "错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围");
}

TEST(FatalErrorText, BuildsTheMessageInCodePage936) {
    EXPECT_EQ(Utf8FromCp936(FatalErrorText(4, "数组成员引用下标必须大于等于1")),
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(Utf8FromCp936(FatalErrorText(0, "不能求余数于零")), "运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n");
    EXPECT_EQ(Utf8FromCp936(FatalErrorText(6, "")), "运行时出错!\r\n\r\n错误代码：6\r\n\r\n");
    // The text is code page 936: 运 is D4 CB, 行 is D0 D0.
    EXPECT_EQ(FatalErrorText(0, "").substr(0, 4), "\xD4\xCB\xD0\xD0");
}

void ShowByWritingMarker(const std::string&) { std::fputs("handler ran", stderr); }

TEST(FatalErrorDeathTest, InstalledHandlerShowsTheText) {
    EXPECT_EXIT(
        {
            SetFatalErrorHandler(&ShowByWritingMarker);
            RaiseFatalError(1, "x");
        },
        testing::ExitedWithCode(testing_support::kFatalExitStatus), "handler ran");
}

}  // namespace
}  // namespace qivara::test
