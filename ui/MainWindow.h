#pragma once
// The main window: the equation and result boxes on the main page, the two limits and the
// display mode on the settings page, and the buttons that switch pages, start and stop the job
// and open the usage window. Controls carry their unit names as object names.
//
// Threads: everything here runs on the window's thread, except the job, which runs on a worker
// thread and reaches the controls only through a WorkerBridge. At most one job is current; a
// stopped job that has not yet noticed its stop is kept until it ends and is then joined.

#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "MessageBoxPresenter.h"
#include "job/FinishJob.h"
#include "search/CoefficientSearch.h"

class QCheckBox;

namespace qivara::ui {

class WindowControls;
class WindowThreadInbox;

class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(MessageBoxPresenter presenter = &ShowModalMessageBox, QWidget* parent = nullptr);
    // Stops every worker and waits for it before any control goes away.
    ~MainWindow() override;

    // The controls through property access; window's thread only.
    WindowControls& Controls() const { return *m_controls; }
    // Where workers post work for the window's thread.
    WindowThreadInbox& Inbox() const { return *m_inbox; }

    void SetMessageBoxPresenter(MessageBoxPresenter presenter);
    // The search the next jobs run; the default is the engine's default.
    void SetSearchEngine(SearchEngine engine) { m_engine = engine; }
    // Called on the worker thread with every vector the reference search examines.
    void SetExaminedObserver(ExaminedObserver observer) { m_onExamined = std::move(observer); }

    bool JobRunning() const { return m_current.has_value(); }
    std::size_t WorkerCount() const { return (m_current ? 1 : 0) + m_retiring.size(); }

    // Event handlers.
    void SettingsToggle();
    void StartStopHandler();
    void OpenUsageWindow();

signals:
    // The current job is over: after its own ending (its message box closed, the window idle)
    // or, for a stop, right after the window became idle. `kind` is a FinishKind value.
    void jobEnded(int kind);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Worker {
        std::uint64_t id = 0;
        std::unique_ptr<std::jthread> thread;
        // Set by the worker as its last step; a join after it does not wait.
        std::shared_ptr<std::atomic<bool>> ended = std::make_shared<std::atomic<bool>>(false);
    };

    void BuildControls();
    void StartJob();
    void StopJob();
    void OnWorkerEnded(std::uint64_t id, FinishKind kind);
    void RetireCurrent();
    void StopAndJoinAll();
    void EquationChanged();

    std::unique_ptr<WindowControls> m_controls;
    WindowThreadInbox* m_inbox;  // child of this window
    std::optional<Worker> m_current;
    std::vector<Worker> m_retiring;
    std::uint64_t m_nextJobId = 1;
    SearchEngine m_engine = kDefaultSearchEngine;
    QCheckBox* m_extendedSyntax = nullptr;  // 扩展语法 on the settings page; jobs read it when they start
    ExaminedObserver m_onExamined;
};

}  // namespace qivara::ui
