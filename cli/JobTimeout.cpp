#include "JobTimeout.h"

#ifdef __EMSCRIPTEN__

// The web page runs single-threaded and offers no timeout: a timer is never armed there.
namespace qivara::cli {

struct JobTimeout::Timer {};

JobTimeout::JobTimeout(double, std::stop_source&) {}
JobTimeout::~JobTimeout() = default;
bool JobTimeout::Expired() const { return false; }

}  // namespace qivara::cli

#else

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qivara::cli {

struct JobTimeout::Timer {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;     // guarded by mutex
    bool expired = false;  // guarded by mutex
    std::thread thread;
};

JobTimeout::JobTimeout(double seconds, std::stop_source& stop) {
    if (!(seconds > 0)) return;
    m_timer = std::make_unique<Timer>();
    Timer& timer = *m_timer;
    timer.thread = std::thread([&timer, &stop, seconds] {
        std::unique_lock lock(timer.mutex);
        if (!timer.finished.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return timer.done; })) {
            timer.expired = true;
            stop.request_stop();
        }
    });
}

JobTimeout::~JobTimeout() {
    if (!m_timer) return;
    {
        const std::lock_guard lock(m_timer->mutex);
        m_timer->done = true;
    }
    m_timer->finished.notify_one();
    m_timer->thread.join();
}

bool JobTimeout::Expired() const {
    if (!m_timer) return false;
    const std::lock_guard lock(m_timer->mutex);
    return m_timer->expired;
}

}  // namespace qivara::cli

#endif
