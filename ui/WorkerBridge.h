#pragma once
// The job's window on the worker thread: every access is handed to the window's thread, carried
// out there on WindowControls, and waited for.
//
// No deadlock is possible with a stop: the window's thread, when it picks a request up, first
// checks on its own thread whether the job was stopped and then refuses it; and the worker's wait
// ends as soon as a stop is requested. Either way the worker throws JobStopped, which BalanceJob
// turns into a Stopped ending. A stop requested on the window's thread therefore orders every
// later request after it: none of them reaches a control.

#include <functional>
#include <stop_token>

#include "PropertyAccess.h"

namespace qivara::ui {

class WindowControls;
class WindowThreadInbox;

class WorkerBridge final : public WindowAccess {
public:
    // `inbox` lives on the window's thread, beside `controls`; both outlive the worker (the
    // window joins its workers before it goes).
    // `utf8Boxes`: the equation and result boxes' contents cross as UTF-8 (a job in the extended
    // language, JobOptions::syntax); every other text as code page 936.
    WorkerBridge(WindowThreadInbox& inbox, WindowControls& controls, std::stop_token stop, bool utf8Boxes = false);

    PropertyValue ReadProperty(std::string_view control, Property property) override;
    void WriteProperty(std::string_view control, Property property, const PropertyValue& value) override;
    void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) override;

private:
    // Runs `work` on the window's thread and waits for its value; rethrows what it threw.
    PropertyValue RunOnWindowThread(std::function<PropertyValue(WindowControls&)> work);

    WindowThreadInbox* m_inbox;
    WindowControls& m_controls;
    std::stop_token m_stop;
    bool m_utf8Boxes;
};

}  // namespace qivara::ui
