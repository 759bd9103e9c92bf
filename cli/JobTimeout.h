#pragma once
// --timeout: a timer that requests a job's cooperative stop once its time is up.

#include <memory>
#include <stop_token>

namespace qivara::cli {

class JobTimeout {
public:
    // Arms a timer that requests `stop` after `seconds` (nothing when seconds <= 0). The timer ends
    // when the object is destroyed, whichever comes first; `stop` must outlive it.
    JobTimeout(double seconds, std::stop_source& stop);
    ~JobTimeout();
    JobTimeout(const JobTimeout&) = delete;
    JobTimeout& operator=(const JobTimeout&) = delete;

    // True once the timer has requested the stop.
    bool Expired() const;

private:
    struct Timer;
    std::unique_ptr<Timer> m_timer;  // none when unarmed
};

}  // namespace qivara::cli
