#include "FatalErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "FatalError.h"
#include "QtText.h"

namespace qivara::ui {
namespace {

struct PendingBox {
    QString text;
    bool shown = false;
};

// Process-wide, as the fatal error is: boxes raised on other threads wait here for the window's
// thread, and a window's thread that waits for a worker waits here too.
std::mutex g_mutex;
std::condition_variable g_changed;
std::deque<std::shared_ptr<PendingBox>> g_pending;

void Show(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Window's thread, with `lock` on g_mutex: shows every box that waits, the lock released while
// each is open.
void ServePending(std::unique_lock<std::mutex>& lock) {
    while (!g_pending.empty()) {
        const std::shared_ptr<PendingBox> box = g_pending.front();
        g_pending.pop_front();
        lock.unlock();
        Show(box->text);
        lock.lock();
        box->shown = true;
        g_changed.notify_all();
    }
}

}  // namespace

void ShowFatalErrorBox(const std::string& textCp936) {
    QString text = QStringFromCp936(textCp936);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) {
        Show(text);
        return;
    }
    auto box = std::make_shared<PendingBox>(PendingBox{text});
    {
        const std::lock_guard lock(g_mutex);
        g_pending.push_back(box);
        g_changed.notify_all();
    }
    QMetaObject::invokeMethod(
        application,
        [] {
            std::unique_lock lock(g_mutex);
            ServePending(lock);
        },
        Qt::QueuedConnection);
    // The process ends when the handler returns: wait until the user has read the box.
    std::unique_lock lock(g_mutex);
    g_changed.wait(lock, [&] { return box->shown; });
}

void WaitServingFatalErrors(const std::function<bool()>& finished) {
    std::unique_lock lock(g_mutex);
    for (;;) {
        ServePending(lock);
        if (finished()) return;
        g_changed.wait(lock, [&] { return !g_pending.empty() || finished(); });
    }
}

void WakeFatalErrorWait() {
    const std::lock_guard lock(g_mutex);
    g_changed.notify_all();
}

bool FatalErrorBoxPending() {
    const std::lock_guard lock(g_mutex);
    return !g_pending.empty();
}

void InstallFatalErrorBox() { SetFatalErrorHandler(&ShowFatalErrorBox); }

}  // namespace qivara::ui
