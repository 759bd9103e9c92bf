#pragma once
// A main window under test: real widgets on the offscreen platform, closing message boxes caught
// by a presenter instead of shown, a gate that can hold the worker inside the search, and a
// watchdog that closes any modal window a test did not ask for.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "MainWindow.h"

namespace qivara::test {

using namespace ui;  // the window code under test

QString Q(std::string_view utf8);

// Closes modal windows nobody expected, and counts them.
class ModalWatchdog {
public:
    ModalWatchdog();
    int StrayCount() const { return m_stray; }

private:
    QTimer m_timer;
    int m_stray = 0;
};

// Holds the worker at the first vector the search examines until the test opens it.
class SearchGate {
public:
    void Arrive();  // worker thread
    bool Reached() const { return m_reached.load(); }
    void Open();

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
    std::atomic<bool> m_reached{false};
};

struct RecordedBox {
    QWidget* owner = nullptr;
    QString message;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString startStopCaption;  // what 按钮4 read while the box was open
    bool settingsEnabled = true;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <typename Widget>
    Widget& Control(std::string_view name) const {
        auto* widget = window->findChild<Widget*>(Q(name));
        if (!widget) throw std::logic_error("no control " + std::string(name));
        return *widget;
    }
    QLineEdit& Edit(std::string_view name) const { return Control<QLineEdit>(name); }
    QPushButton& Button(std::string_view name) const { return Control<QPushButton>(name); }
    QRadioButton& Radio(std::string_view name) const { return Control<QRadioButton>(name); }

    void Click(std::string_view button);
    // Leaves the initial state if needed, then presses start.
    void Start();
    // Waits for the current job's end; false when it did not come.
    bool WaitForJobEnd();
    // Jobs run the shipped engine unless a test asks for the literal enumeration, the one engine
    // that reports each vector it examines (`searching`) and can be slow enough to stop or close
    // in the middle of a search.
    void UseReferenceSearch();
    // Holds the next job inside its search (the literal enumeration) until gate.Open().
    void HoldSearch();
    // The window's state: the start button's caption and whether it is the default button, and
    // whether a job runs (settings button disabled, equation box read-only, a current worker).
    void ExpectState(std::string_view caption, bool defaultButton, bool running) const;

    std::unique_ptr<MainWindow> window;
    std::vector<RecordedBox> boxes;
    std::function<void()> duringBox;  // runs while the presenter holds the box open
    std::vector<int> endedKinds;
    SearchGate gate;
    std::atomic<bool> searching{false};
    ModalWatchdog watchdog;
};

}  // namespace qivara::test
