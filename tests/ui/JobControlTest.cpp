// The start/stop button's states and transitions, whole jobs through the window, and stopping or
// closing while a job runs.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <thread>

#include "Encoding.h"
#include "FatalErrorBox.h"
#include "TableRows.h"
#include "UiTestSupport.h"
#include "job/MainWindowControls.h"
#include "job/MakerAddress.h"

namespace qivara::test {
namespace {

using namespace controls;

constexpr char kExample[] = "MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O";

QString Summary(int results) {
    return Q("Qivara配平器以替您处理完毕，共有") + QString::number(results) +
           Q("种配平结果，感谢您使用Qivara科技软件,更多应用型软件请访问Qivara科技") + Q(kMakerAddress) + Q("。");
}

TEST_F(MainWindowTest, FirstClickAfterStartUpOnlyRelabels) {
    ExpectState(kStartStopButton.initial, false, false);
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Click(kStartStopButton);
    ExpectState(kStartCaption, true, false);
    EXPECT_EQ(window->WorkerCount(), 0u);
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
}

TEST_F(MainWindowTest, StartEntersRunningAndIdleComesOnlyAfterTheBoxCloses) {
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ExpectState(kStopCaption, false, true);
    ASSERT_TRUE(WaitForJobEnd());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].startStopCaption, Q(kStopCaption));
    EXPECT_FALSE(boxes[0].settingsEnabled);
    EXPECT_EQ(boxes[0].owner, window.get());
    ExpectState(kStartCaption, true, false);
    EXPECT_EQ(endedKinds, std::vector<int>{static_cast<int>(FinishKind::Summary)});
}

TEST_F(MainWindowTest, StopDuringALongSearchLeavesTheResultEmptyAndShowsNothing) {
    UseReferenceSearch();
    Edit(kEquationBox).setText(Q(kExample));
    Edit(kCoefficientLimitBox).setText(Q("64"));
    Edit(kResultLimitBox).setText(Q("16"));
    Edit(kResultBox).setText(Q("old result"));
    Start();
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty()) << "the start empties the result box";
    ASSERT_TRUE(QTest::qWaitFor([&] { return searching.load(); }, 60000));
    Click(kStartStopButton);
    ExpectState(kStartCaption, true, false);  // idle at once, before the worker has ended
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->WorkerCount() == 0; }, 60000));
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
    EXPECT_EQ(endedKinds, std::vector<int>{static_cast<int>(FinishKind::Stopped)});
}

// The job is held inside a search that would succeed: after the stop it neither writes its
// result nor shows its summary, and the next job starts afresh.
TEST_F(MainWindowTest, StoppedJobThatWasAboutToFinishWritesNothing) {
    HoldSearch();
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    Click(kStartStopButton);
    ExpectState(kStartCaption, true, false);
    gate.Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->WorkerCount() == 0; }, 60000));
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
    ExpectState(kStartCaption, true, false);

    Start();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(Edit(kResultBox).text(), Q("2H2+O2=2H2O"));
    EXPECT_EQ(boxes.size(), 1u);
}

enum class Press { Mouse, Space, Return, Enter, SpaceReleasedElsewhere };

struct StopCase {
    const char* name;
    Press press;
};

class PressingStop : public MainWindowTest, public ::testing::WithParamInterface<StopCase> {};

// The mouse and every key that presses a button stop a job held inside its search, the same way:
// idle at once, no message, nothing written. A key that comes up after the focus moved on (a
// message box, another control) still stopped the job when it went down.
TEST_P(PressingStop, StopsAHeldJob) {
    HoldSearch();
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    QPushButton& stop = Button(kStartStopButton);
    ASSERT_EQ(stop.text(), Q(kStopCaption));
    stop.setFocus();
    switch (GetParam().press) {
        case Press::Mouse:
            Click(kStartStopButton);
            break;
        case Press::Space:
        case Press::Return:
        case Press::Enter: {
            const Qt::Key key = GetParam().press == Press::Space    ? Qt::Key_Space
                                : GetParam().press == Press::Return ? Qt::Key_Return
                                                                    : Qt::Key_Enter;
            QTest::keyClick(&stop, key);
            break;
        }
        case Press::SpaceReleasedElsewhere:
            QTest::keyPress(&stop, Qt::Key_Space);
            Edit(kResultBox).setFocus();
            QTest::keyRelease(&Edit(kResultBox), Qt::Key_Space);
            break;
    }
    ExpectState(kStartCaption, true, false);
    gate.Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->WorkerCount() == 0; }, 60000));
    QTest::qWait(20);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
    EXPECT_EQ(endedKinds, std::vector<int>{static_cast<int>(FinishKind::Stopped)});
}

INSTANTIATE_TEST_SUITE_P(Window, PressingStop,
                         ::testing::Values(StopCase{"Mouse", Press::Mouse}, StopCase{"Space", Press::Space},
                                           StopCase{"Return", Press::Return}, StopCase{"Enter", Press::Enter},
                                           StopCase{"SpaceReleasedElsewhere", Press::SpaceReleasedElsewhere}),
                         RowName());

struct JobCase {
    const char* name;
    const char* equation;
    const char* coefficientLimit;
    bool coefficientsOnly;
    const char* result;
    int kind;
    QMessageBox::Icon icon;
    const char* title;
    const char* message;    // nullptr: the summary naming one result
    bool extended = false;  // 扩展语法 ticked
};
// Names the row in test output instead of dumping its bytes.

class FullJob : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<SearchEngine, JobCase>> {};

TEST_P(FullJob, ResultAndClosingMessage) {
    const auto& [engine, job] = GetParam();
    window->SetSearchEngine(engine);
    Edit(kEquationBox).setText(Q(job.equation));
    Edit(kCoefficientLimitBox).setText(Q(job.coefficientLimit));
    if (job.coefficientsOnly) Radio(kCoefficientsOnlyRadio).click();
    Control<QCheckBox>("复选框1").setChecked(job.extended);
    EXPECT_EQ(Radio(kBalancedEquationRadio).isChecked(), !job.coefficientsOnly);
    Start();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(Edit(kResultBox).text(), Q(job.result));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, job.message ? Q(job.message) : Summary(1));
    EXPECT_EQ(boxes[0].title, Q(job.title));
    EXPECT_EQ(boxes[0].icon, job.icon);
    EXPECT_EQ(boxes[0].owner, window.get());
    EXPECT_EQ(endedKinds, std::vector<int>{job.kind});
    ExpectState(kStartCaption, true, false);
}

INSTANTIATE_TEST_SUITE_P(
    Window, FullJob,
    ::testing::Combine(
        ::testing::Values(SearchEngine::Lattice, SearchEngine::Reference),
        ::testing::Values(JobCase{"WaterAsEquation", "H2+O2=H2O", "16", false, "2H2+O2=2H2O", 4,
                                  QMessageBox::Information, "信息", nullptr},
                          JobCase{"WaterAsCoefficients", "H2+O2=H2O", "16", true, "2,1,2", 4, QMessageBox::Information,
                                  "信息", nullptr},
                          JobCase{"ExampleAsEquation", kExample, "16", false, "MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O",
                                  4, QMessageBox::Information, "信息", nullptr},
                          JobCase{"ExampleAsCoefficients", kExample, "16", true, "1,2,3,1,2,1,2", 4,
                                  QMessageBox::Information, "信息", nullptr},
                          JobCase{"NoResultBelowTheLimit", kExample, "2", false, "", 3, QMessageBox::Information,
                                  "信息", "处理完毕，没有找到配平结果。\r\n可以尝试设置更高的系数上限。"},
                          JobCase{"Unrecognised", "H2+O2", "16", false, "", 1, QMessageBox::Critical, "错误",
                                  "无法识别待配平方程式！"},
                          JobCase{"ElementsNotConserved", "H2=O2", "16", false, "", 2, QMessageBox::Warning, "警告",
                                  "元素种类不守恒！"})),
    [](const auto& info) {
        return std::string(std::get<JobCase>(info.param).name) +
               (std::get<SearchEngine>(info.param) == SearchEngine::Lattice ? "Lattice" : "Reference");
    });

// The same jobs with 扩展语法 ticked, and one with it left off.
INSTANTIATE_TEST_SUITE_P(
    Extended, FullJob,
    ::testing::Combine(
        ::testing::Values(SearchEngine::Lattice, SearchEngine::Reference),
        ::testing::Values(
            JobCase{"Ions", "MnO₄⁻+Fe²⁺+H⁺=Mn²⁺+Fe³⁺+H₂O", "16", false, "MnO₄⁻+5Fe²⁺+8H⁺=Mn²⁺+5Fe³⁺+4H₂O", 4,
                    QMessageBox::Information, "信息", nullptr, true},
            JobCase{"Refusal", "MnO4-+H⁺=Mn²⁺+H₂O", "16", false, "", 1, QMessageBox::Critical, "错误",
                    "无法识别待配平方程式！\r\n第5个字符：数字后的负号有歧义：请写作MnO4^-、SO4^2-，或用上标", true},
            JobCase{"OffReadsTheProgramsOwn", "H₂+O₂=H₂O", "16", false, "", 1, QMessageBox::Critical, "错误",
                    "无法识别待配平方程式！"})),
    [](const auto& info) {
        return std::string(std::get<JobCase>(info.param).name) +
               (std::get<SearchEngine>(info.param) == SearchEngine::Lattice ? "Lattice" : "Reference");
    });

TEST_F(MainWindowTest, SummaryCountsEveryResult) {
    Edit(kEquationBox).setText(Q("H2+O2=H2O+H2O2"));
    Edit(kCoefficientLimitBox).setText(Q("8"));
    Edit(kResultLimitBox).setText(Q("10"));
    Start();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(Edit(kResultBox).text(), Q("3H2+2O2=2H2O+H2O2　8H2+5O2=6H2O+2H2O2"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].message, Summary(2));
    // The one-line box shows only the start: its tooltip and description hold one line per result.
    const QString lines = Q("3H2+2O2=2H2O+H2O2\n8H2+5O2=6H2O+2H2O2");
    EXPECT_EQ(Edit(kResultBox).toolTip(), lines);
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(&Edit(kResultBox));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text(QAccessible::Description), lines);
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    EXPECT_TRUE(Edit(kResultBox).toolTip().isEmpty()) << "an emptied result lists nothing";
}

TEST_F(MainWindowTest, DisplayModeChangedDuringTheSearchTakesEffect) {
    HoldSearch();
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    Radio(kCoefficientsOnlyRadio).click();
    EXPECT_FALSE(Radio(kBalancedEquationRadio).isChecked());
    gate.Open();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(Edit(kResultBox).text(), Q("2,1,2"));
}

TEST_F(MainWindowTest, SameEquationTwiceGivesTheSameResult) {
    Edit(kEquationBox).setText(Q(kExample));
    Start();
    ASSERT_TRUE(WaitForJobEnd());
    const QString first = Edit(kResultBox).text();
    Start();
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(Edit(kResultBox).text(), first);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(MainWindowTest, EditingTheEquationEmptiesTheResult) {
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(WaitForJobEnd());
    ASSERT_FALSE(Edit(kResultBox).text().isEmpty());
    Edit(kEquationBox).setFocus();
    QTest::keyClick(&Edit(kEquationBox), Qt::Key_Backspace);
    EXPECT_EQ(Edit(kEquationBox).text(), Q("H2+O2=H2"));
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
}

TEST_F(MainWindowTest, WritingTheResultBoxRaisesItsContentChanged) {
    QSignalSpy changed(&Edit(kResultBox), &QLineEdit::textChanged);
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(WaitForJobEnd());
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.last().at(0).toString(), Q("2H2+O2=2H2O"));
}

// Lets a worker held at the gate go on the moment the window is asked to close, before the
// window's own close handler runs: the job is running, and about to find its result, when the
// close comes.
class OpenGateOnClose final : public QObject {
public:
    explicit OpenGateOnClose(SearchGate& gate) : m_gate(gate) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) m_gate.Open();
        return false;
    }

private:
    SearchGate& m_gate;
};

TEST_F(MainWindowTest, ClosingDuringAJobStopsItAndCloses) {
    HoldSearch();
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    OpenGateOnClose opener(gate);
    window->installEventFilter(&opener);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->WorkerCount(), 0u) << "close returns only after the worker has ended";
    QTest::qWait(50);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
    window->removeEventFilter(&opener);
}

// Closes every fatal error box that opens, and keeps its text.
class FatalBoxCloser {
public:
    FatalBoxCloser() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_texts << box->text();
                box->accept();
            }
        });
        m_timer.start();
    }
    QStringList m_texts;

private:
    QTimer m_timer;
};

const char kFatalText[] = "运行时出错!\r\n\r\n错误代码：1\r\n\r\n";

// The window's thread waits for a worker that has raised a fatal error and waits for its box:
// whichever of the two waits first, the box is shown and both waits end.
enum class First { WindowWaits, WorkerRaises };
class FatalErrorWhileWaiting : public ::testing::TestWithParam<First> {};

TEST_P(FatalErrorWhileWaiting, BoxIsShownAndBothWaitsEnd) {
    FatalBoxCloser closer;
    std::atomic<bool> windowWaits{false};
    std::atomic<bool> workerEnded{false};
    std::jthread worker([&] {
        if (GetParam() == First::WindowWaits) {
            while (!windowWaits.load()) std::this_thread::yield();
        }
        ShowFatalErrorBox(Cp936FromUtf8(kFatalText));
        workerEnded = true;
        WakeFatalErrorWait();
    });
    if (GetParam() == First::WorkerRaises) {
        while (!FatalErrorBoxPending()) std::this_thread::yield();  // no event loop: the box waits
    }
    WaitServingFatalErrors([&] {
        windowWaits = true;
        return workerEnded.load();
    });
    worker.join();
    EXPECT_EQ(closer.m_texts, QStringList{Q("运行时出错!\n\n错误代码：1\n\n")});
}

INSTANTIATE_TEST_SUITE_P(Window, FatalErrorWhileWaiting, ::testing::Values(First::WindowWaits, First::WorkerRaises),
                         [](const auto& info) {
                             return std::string(info.param == First::WindowWaits ? "WindowWaitsFirst"
                                                                                 : "WorkerRaisesFirst");
                         });

// The same through the window: a job's worker raises a fatal error, and before the window's
// thread has shown the box the window is closed. The close shows the box and then ends.
TEST_F(MainWindowTest, ClosingWhileAWorkersFatalErrorWaitsShowsItAndCloses) {
    FatalBoxCloser closer;
    std::atomic<bool> raised{false};
    window->SetSearchEngine(SearchEngine::Reference);
    window->SetExaminedObserver([&](const CoefficientVector&) {
        gate.Arrive();
        if (!raised.exchange(true)) ShowFatalErrorBox(Cp936FromUtf8(kFatalText));
    });
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    gate.Open();
    while (!FatalErrorBoxPending()) std::this_thread::yield();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->WorkerCount(), 0u);
    EXPECT_EQ(closer.m_texts.size(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.empty());
}

// The worker waits for its message box on the window's thread when the window is closed: the
// close must not wait for the worker forever, and the job restores nothing afterwards.
TEST_F(MainWindowTest, ClosingWhileTheClosingMessageIsOpenDoesNotDeadlock) {
    duringBox = [this] { window->close(); };
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.empty(); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->WorkerCount() == 0; }, 60000));
    QTest::qWait(50);
    EXPECT_EQ(Button(kStartStopButton).text(), Q(kStopCaption)) << "a stopped job restores nothing";
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, SettingsButtonIsDisabledWhileRunning) {
    HoldSearch();
    Edit(kEquationBox).setText(Q("H2+O2=H2O"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Reached(); }, 60000));
    Click(kSettingsButton);
    EXPECT_EQ(window->findChild<QStackedWidget*>(Q(kPageContainer))->currentIndex(), 0);
    gate.Open();
    ASSERT_TRUE(WaitForJobEnd());
}

}  // namespace
}  // namespace qivara::test
