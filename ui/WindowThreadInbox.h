#pragma once
// Hands work from a worker thread to the window's thread.
//
// Qt's event queue orders a post before the run of what was posted, but Qt is built without
// ThreadSanitizer, which therefore cannot see that order and would report the hand-over as a
// race. The inbox announces it: the post releases, the run acquires. Elsewhere the annotations
// compile to nothing.

#include <QObject>
#include <functional>

namespace qivara::ui {

class WindowThreadInbox final : public QObject {
public:
    // Lives on the thread of `parent`, which owns it.
    explicit WindowThreadInbox(QObject* parent);

    // Any thread. `work` runs on the inbox's thread from its event loop, after everything the
    // posting thread did before the call. The caller must ensure the inbox outlives the call;
    // work still queued when the inbox goes is dropped.
    void Post(std::function<void()> work);

protected:
    bool event(QEvent* event) override;
};

}  // namespace qivara::ui
