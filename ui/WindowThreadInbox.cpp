#include "WindowThreadInbox.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__SANITIZE_THREAD__)
#define QIVARA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QIVARA_THREAD_SANITIZER 1
#endif
#endif

#ifdef QIVARA_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace qivara::ui {
namespace {

const QEvent::Type kWorkEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class WorkEvent final : public QEvent {
public:
    explicit WorkEvent(std::function<void()> work) : QEvent(kWorkEvent), m_work(std::move(work)) {}
    std::function<void()> m_work;
};

// One address for every hand-over: each run is ordered after every post before it.
[[maybe_unused]] char g_handOver;

void Released() {
#ifdef QIVARA_THREAD_SANITIZER
    __tsan_release(&g_handOver);
#endif
}

void Acquired() {
#ifdef QIVARA_THREAD_SANITIZER
    __tsan_acquire(&g_handOver);
#endif
}

}  // namespace

WindowThreadInbox::WindowThreadInbox(QObject* parent) : QObject(parent) {}

void WindowThreadInbox::Post(std::function<void()> work) {
    auto* event = new WorkEvent(std::move(work));  // fully built before the release
    Released();
    QCoreApplication::postEvent(this, event);
}

bool WindowThreadInbox::event(QEvent* event) {
    Acquired();  // before the first look at the event, which the posting thread built
    if (event->type() != kWorkEvent) return QObject::event(event);
    static_cast<WorkEvent*>(event)->m_work();
    return true;
}

}  // namespace qivara::ui
