#include <gtest/gtest.h>

#include "Encoding.h"
#include "TableRows.h"
#include "job/BalanceJob.h"
#include "job/HeadlessWindow.h"
#include "job/MainWindowControls.h"

namespace qivara::test {
namespace {

struct JobRun {
    JobRun(const std::string& equation, const std::string& limit, const std::string& results)
        : window(Cp936FromUtf8(equation), Cp936FromUtf8(limit), Cp936FromUtf8(results)) {}

    HeadlessWindow window;
    JobOutcome outcome;

    std::string Result() { return Utf8FromCp936(window.ReadText(controls::kResultBox, Property::Content)); }
    std::string Message() const { return Utf8FromCp936(window.MessageBoxes().at(0).message); }
};

// Runs one job on a fresh window; `limit` and `results` are UTF-8 texts of the limit boxes.
std::unique_ptr<JobRun> BalanceOnFreshWindow(const std::string& equation, const std::string& limit = "16",
                                             const std::string& results = "1", JobOptions options = {}) {
    auto run = std::make_unique<JobRun>(equation, limit, results);
    run->outcome = BalanceJob(run->window, options);
    return run;
}

struct KindCase {
    const char* name;
    std::string equation;
    FinishKind kind;
};

// Each kind a job can end with, and which failure wins; how equations are cut into species is
// the splitter's table.
class JobEndings : public testing::TestWithParam<KindCase> {};

TEST_P(JobEndings, EndWithOneKindAndItsMessage) {
    const KindCase& c = GetParam();
    const auto run = BalanceOnFreshWindow(c.equation);
    EXPECT_EQ(run->outcome.kind, c.kind);
    ASSERT_EQ(run->window.MessageBoxes().size(), 1u);
    const std::optional<ClosingMessage> expected =
        ClosingMessageFor(c.kind, run->window.ReadText(controls::kResultBox, Property::Content));
    EXPECT_EQ(run->window.MessageBoxes()[0].message, expected->message);
    EXPECT_EQ(run->window.MessageBoxes()[0].style, expected->icon);
}

INSTANTIATE_TEST_SUITE_P(Cases, JobEndings,
                         testing::Values(KindCase{"OnePiece", "H2O", FinishKind::Unrecognised},
                                         KindCase{"DifferentElements", "H2=O2", FinishKind::ElementsNotConserved},
                                         KindCase{"SameSetDifferentOrder", "NaOH+HCl=NaCl+H2O", FinishKind::Summary},
                                         KindCase{"NoCoefficients", "C+O2=CO", FinishKind::Summary},
                                         KindCase{"Identity", "H2O=H2O", FinishKind::Summary},
                                         KindCase{"UnrecognisedWinsOverElements", "H2+=O2++N2",
                                                  FinishKind::Unrecognised},
                                         KindCase{"BadFormulaWinsOverElements", "h2=O2", FinishKind::Unrecognised},
                                         KindCase{"NoResult", "H2O=H2O2", FinishKind::NoResult},
                                         KindCase{"SpaceSpecies", " =H2", FinishKind::Unrecognised}),
                         RowName());

TEST(BalanceJob, DefaultsBalanceTheExample) {
    const auto run = BalanceOnFreshWindow("MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O");
    EXPECT_EQ(run->outcome.kind, FinishKind::Summary);
    EXPECT_EQ(run->Result(), "MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O");
    EXPECT_NE(run->Message().find("共有1种配平结果"), std::string::npos);
    EXPECT_EQ(run->outcome.solutions, (std::vector<CoefficientVector>{{1, 2, 3, 1, 2, 1, 2}}));
}

TEST(BalanceJob, CoefficientsOnlyWhenBalancedEquationIsNotSelected) {
    HeadlessWindow window;
    window.WriteProperty(controls::kEquationBox, Property::Content, std::string("MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O"));
    window.WriteProperty(controls::kCoefficientsOnlyRadio, Property::Selected, 1);
    BalanceJob(window, {});
    EXPECT_EQ(window.ReadText(controls::kResultBox, Property::Content), "1,2,3,1,2,1,2");

    // With neither radio button selected the result is coefficients too.
    HeadlessWindow neither;
    neither.WriteProperty(controls::kEquationBox, Property::Content, std::string("H2+O2=H2O"));
    neither.WriteProperty(controls::kBalancedEquationRadio, Property::Selected, 0);
    BalanceJob(neither, {});
    EXPECT_EQ(neither.ReadText(controls::kResultBox, Property::Content), "2,1,2");
}

TEST(BalanceJob, OneResultHasNoSeparator) {
    const auto run = BalanceOnFreshWindow("H2+O2=H2O", "16", "16");
    EXPECT_EQ(run->Result(), "2H2+O2=2H2O");
    EXPECT_NE(run->Message().find("共有1种"), std::string::npos);
}

TEST(BalanceJob, SeveralResultsSeparatedByFullWidthSpaces) {
    const auto run = BalanceOnFreshWindow("H2+O2=H2O+H2O2", "8", "10");
    EXPECT_EQ(run->Result(), "3H2+2O2=2H2O+H2O2　8H2+5O2=6H2O+2H2O2");
    EXPECT_NE(run->Message().find("共有2种"), std::string::npos);
}

TEST(BalanceJob, NoResultLeavesResultBoxEmpty) {
    const auto run = BalanceOnFreshWindow("H2O=H2O2");
    EXPECT_EQ(run->Result(), "");
    EXPECT_EQ(run->Message(), "处理完毕，没有找到配平结果。\r\n可以尝试设置更高的系数上限。");
    for (const HeadlessWindow::Write& write : run->window.Writes()) EXPECT_NE(write.control, controls::kResultBox);
}

struct LimitCase {
    const char* name;
    std::string limitText;
    std::string resultsText;
    FinishKind kind;
    std::string result;
};

class LimitTexts : public testing::TestWithParam<LimitCase> {};

// The job reads the limit boxes as they are: no clamping, the integer conversion alone.
TEST_P(LimitTexts, AreReadWithoutClamping) {
    const LimitCase& c = GetParam();
    const auto run = BalanceOnFreshWindow("H2+O2=H2O+H2O2", c.limitText, c.resultsText);
    EXPECT_EQ(run->outcome.kind, c.kind);
    EXPECT_EQ(run->Result(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LimitTexts,
    testing::Values(
        LimitCase{"EmptyLimitIsZero", "", "1", FinishKind::NoResult, ""},
        LimitCase{"FullWidthDigits", "８", "１０", FinishKind::Summary, "3H2+2O2=2H2O+H2O2　8H2+5O2=6H2O+2H2O2"},
        LimitCase{"DigitsThenLetters", "8abc", "10x", FinishKind::Summary, "3H2+2O2=2H2O+H2O2　8H2+5O2=6H2O+2H2O2"},
        LimitCase{"LeadingBlanks", "  7", " 10", FinishKind::Summary,
                  "3H2+2O2=2H2O+H2O2　7H2+5O2=4H2O+3H2O"
                  "2"},
        // Result limit 0: the first zero-balance vector, (4,1,2,1), does not conserve hydrogen.
        LimitCase{"LettersOnlyResultLimitIsZero", "8", "abc", FinishKind::NoResult, ""},
        LimitCase{"NegativeLimit", "-5", "1", FinishKind::NoResult, ""},
        LimitCase{"LimitBeyond32BitsClamps", "99999999999", "1", FinishKind::Summary, "3H2+2O2=2H2O+H2O2"}),
    RowName());

TEST(BalanceJob, ResultBoxIsWrittenOnceAtTheEnd) {
    const auto run = BalanceOnFreshWindow("H2+O2=H2O+H2O2", "8", "10");
    int resultWrites = 0;
    for (const HeadlessWindow::Write& write : run->window.Writes())
        resultWrites += write.control == controls::kResultBox;
    EXPECT_EQ(resultWrites, 1);
}

TEST(BalanceJob, SameEquationTwiceGivesTheSameText) {
    HeadlessWindow window;
    window.WriteProperty(controls::kEquationBox, Property::Content, std::string("Cu+HNO3=Cu(NO3)2+NO+H2O"));
    BalanceJob(window, {});
    const std::string first = window.ReadText(controls::kResultBox, Property::Content);
    BalanceJob(window, {});
    EXPECT_EQ(window.ReadText(controls::kResultBox, Property::Content), first);
    EXPECT_EQ(Utf8FromCp936(first), "3Cu+8HNO3=3Cu(NO3)2+2NO+4H2O");
}

TEST(BalanceJob, StopDuringSearchWritesAndShowsNothing) {
    HeadlessWindow window;
    window.WriteProperty(controls::kEquationBox, Property::Content, std::string("MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O"));
    window.WriteProperty(controls::kCoefficientLimitBox, Property::Content, std::string("64"));
    const std::size_t writesBefore = window.Writes().size();
    std::stop_source stop;
    std::size_t examined = 0;
    JobOptions options;
    options.engine = SearchEngine::Reference;  // the engine that reports every examined vector
    options.stop = stop.get_token();
    options.onExamined = [&](const CoefficientVector&) {
        if (++examined == 1000) stop.request_stop();
    };
    const JobOutcome outcome = BalanceJob(window, options);
    EXPECT_EQ(outcome.kind, FinishKind::Stopped);
    EXPECT_TRUE(outcome.solutions.empty());
    EXPECT_TRUE(window.MessageBoxes().empty());
    EXPECT_EQ(window.Writes().size(), writesBefore);
    EXPECT_EQ(examined, 1000u);
}

TEST(BalanceJob, StopBeforeStartTouchesNothing) {
    HeadlessWindow window;
    window.WriteProperty(controls::kEquationBox, Property::Content, std::string("H2+O2=H2O"));
    std::stop_source stop;
    stop.request_stop();
    JobOptions options;
    options.stop = stop.get_token();
    EXPECT_EQ(BalanceJob(window, options).kind, FinishKind::Stopped);
    EXPECT_TRUE(window.MessageBoxes().empty());
}

}  // namespace
}  // namespace qivara::test
