#include <gtest/gtest.h>

#include "Encoding.h"
#include "TableRows.h"
#include "job/FinishJob.h"
#include "job/HeadlessWindow.h"
#include "job/MainWindowControls.h"

namespace qivara::test {
namespace {

struct MessageCase {
    const char* name;
    FinishKind kind;
    std::string resultText;  // code page 936
    std::string message;     // UTF-8
    std::string title;
    std::int32_t icon;
};

class ClosingMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(ClosingMessages, TextTitleAndIcon) {
    const MessageCase& c = GetParam();
    const std::optional<ClosingMessage> closing = ClosingMessageFor(c.kind, c.resultText);
    ASSERT_TRUE(closing.has_value());
    EXPECT_EQ(Utf8FromCp936(closing->message), c.message);
    EXPECT_EQ(Utf8FromCp936(closing->title), c.title);
    EXPECT_EQ(closing->icon, c.icon);
}

const std::string kSummaryHead = "Qivara配平器以替您处理完毕，共有";
const std::string kSummaryTail =
    "种配平结果，感谢您使用Qivara科技软件,更多应用型软件请访问Qivara科技https://www.qivara.example。";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ClosingMessages,
    testing::Values(
        MessageCase{"Unrecognised", FinishKind::Unrecognised, "", "无法识别待配平方程式！", "错误", 16},
        MessageCase{"ElementsNotConserved", FinishKind::ElementsNotConserved, "", "元素种类不守恒！", "警告", 48},
        MessageCase{"NoResult", FinishKind::NoResult, "",
                    "处理完毕，没有找到配平结果。\r\n可以尝试设置更高的系数上限。", "信息", 64},
        MessageCase{"SummaryOne", FinishKind::Summary, "2H2+O2=2H2O", kSummaryHead + "1" + kSummaryTail, "信息", 64},
        MessageCase{"SummaryThree", FinishKind::Summary,
                    "1,1\xA1\xA1"
                    "3,2\xA1\xA1"
                    "2,3",
                    kSummaryHead + "3" + kSummaryTail, "信息", 64},
        MessageCase{"OutOfRangeKindIsSummary", static_cast<FinishKind>(9), "", kSummaryHead + "1" + kSummaryTail,
                    "信息", 64},
        MessageCase{"NegativeKindIsSummary", static_cast<FinishKind>(-1),
                    "A\xA1\xA1"
                    "B",
                    kSummaryHead + "2" + kSummaryTail, "信息", 64}),
    RowName());

TEST(ClosingMessages, StoppedHasNone) { EXPECT_FALSE(ClosingMessageFor(FinishKind::Stopped, "").has_value()); }

TEST(ClosingMessages, BytesAreCodePage936) {
    // 无 B7 DE, 法 B7 A8 ... and the full-width "！" A3 A1 at the end.
    const std::string message = ClosingMessageFor(FinishKind::Unrecognised, "")->message;
    EXPECT_EQ(message.substr(0, 4), "\xCE\xDE\xB7\xA8");
    EXPECT_EQ(message.substr(message.size() - 2), "\xA3\xA1");
    EXPECT_EQ(ClosingMessageFor(FinishKind::Unrecognised, "")->title, "\xB4\xED\xCE\xF3");  // 错误
}

TEST(FinishJob, ShowsMessageThenRestoresIdleInOrder) {
    HeadlessWindow window;
    FinishJob(window, FinishKind::ElementsNotConserved);
    ASSERT_EQ(window.MessageBoxes().size(), 1u);
    ASSERT_EQ(window.Writes().size(), 4u);
    EXPECT_EQ(window.Writes()[0].control, controls::kSettingsButton);
    EXPECT_EQ(window.Writes()[0].property, Property::Disabled);
    EXPECT_EQ(std::get<std::int32_t>(window.Writes()[0].value), 0);
    EXPECT_EQ(window.Writes()[1].control, controls::kEquationBox);
    EXPECT_EQ(std::get<std::int32_t>(window.Writes()[1].value), kInputNormal);
    EXPECT_EQ(window.Writes()[2].control, controls::kStartStopButton);
    EXPECT_EQ(Utf8FromCp936(std::get<std::string>(window.Writes()[2].value)), "开始");
    EXPECT_EQ(window.Writes()[3].property, Property::ButtonType);
    EXPECT_EQ(std::get<std::int32_t>(window.Writes()[3].value), 1);
}

TEST(FinishJob, StoppedShowsNothingButRestoresIdle) {
    HeadlessWindow window;
    FinishJob(window, FinishKind::Stopped);
    EXPECT_TRUE(window.MessageBoxes().empty());
    EXPECT_EQ(window.Writes().size(), 4u);
    EXPECT_EQ(Utf8FromCp936(window.ReadText(controls::kStartStopButton, Property::Caption)), "开始");
}

}  // namespace
}  // namespace qivara::test
