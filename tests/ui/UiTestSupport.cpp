#include "UiTestSupport.h"

#include <QApplication>
#include <QTest>

#include "job/MainWindowControls.h"

namespace qivara::test {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

ModalWatchdog::ModalWatchdog() {
    m_timer.setInterval(250);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++m_stray;
            modal->close();
        }
    });
    m_timer.start();
}

void SearchGate::Arrive() {
    std::unique_lock lock(m_mutex);
    m_reached = true;
    m_opened.wait(lock, [this] { return m_open; });
}

void SearchGate::Open() {
    const std::lock_guard lock(m_mutex);
    m_open = true;
    m_opened.notify_all();
}

void MainWindowTest::SetUp() {
    window = std::make_unique<MainWindow>(
        [this](QWidget& owner, const QString& message, const QString& title, QMessageBox::Icon icon) {
            boxes.push_back(RecordedBox{&owner, message, title, icon, Button(controls::kStartStopButton).text(),
                                        Button(controls::kSettingsButton).isEnabled()});
            if (duringBox) duringBox();
        });
    QObject::connect(window.get(), &MainWindow::jobEnded, [this](int kind) { endedKinds.push_back(kind); });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void MainWindowTest::TearDown() {
    gate.Open();  // a worker held at the gate must be able to see its stop
    window.reset();
    EXPECT_EQ(watchdog.StrayCount(), 0) << "a modal window was left open";
}

void MainWindowTest::Click(std::string_view button) { QTest::mouseClick(&Button(button), Qt::LeftButton); }

void MainWindowTest::Start() {
    if (Button(controls::kStartStopButton).text() == Q(controls::kStartStopButton.initial)) {
        Click(controls::kStartStopButton);  // the first click only relabels
    }
    Click(controls::kStartStopButton);
}

bool MainWindowTest::WaitForJobEnd() {
    const std::size_t before = endedKinds.size();
    return QTest::qWaitFor([&] { return endedKinds.size() > before || !window->JobRunning(); }, 120000) &&
           QTest::qWaitFor([&] { return window->WorkerCount() == 0; }, 120000);
}

void MainWindowTest::UseReferenceSearch() {
    window->SetSearchEngine(SearchEngine::Reference);
    window->SetExaminedObserver([this](const CoefficientVector&) { searching = true; });
}

void MainWindowTest::HoldSearch() {
    window->SetSearchEngine(SearchEngine::Reference);
    window->SetExaminedObserver([this](const CoefficientVector&) {
        searching = true;
        gate.Arrive();
    });
}

void MainWindowTest::ExpectState(std::string_view caption, bool defaultButton, bool running) const {
    EXPECT_EQ(Button(controls::kStartStopButton).text(), Q(caption));
    EXPECT_EQ(Button(controls::kStartStopButton).isDefault(), defaultButton);
    EXPECT_EQ(Button(controls::kSettingsButton).isEnabled(), !running);
    EXPECT_EQ(Edit(controls::kEquationBox).isReadOnly(), running);
    EXPECT_EQ(window->JobRunning(), running);
}

}  // namespace qivara::test
