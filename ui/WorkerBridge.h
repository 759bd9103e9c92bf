#pragma once
// The job's window on the worker thread: every access is handed to the window's thread, carried
// out there on WindowControls, and waited for.
//
// No deadlock is possible with a stop: the window's thread, when it picks a request up, first
// checks on its own thread whether the job was stopped and then refuses it; and the worker's wait
// ends as soon as a stop is requested. Either way the worker throws JobStopped, which BalanceJob
// turns into a Stopped ending. A stop requested on the window's thread therefore orders every
// later request after it: none of them reaches a control.

#include <QObject>
#include <functional>
#include <stop_token>

#include "PropertyAccess.h"

namespace qivara::ui {

class WindowControls;

class WorkerBridge final : public WindowAccess {
public:
    // `context` lives on the window's thread and owns `controls`; requests posted to a context
    // that is gone are dropped (and the worker, which is stopped first, does not wait for them).
    WorkerBridge(QObject& context, WindowControls& controls, std::stop_token stop);

    PropertyValue ReadProperty(std::string_view control, Property property) override;
    void WriteProperty(std::string_view control, Property property, const PropertyValue& value) override;
    void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) override;

private:
    // Runs `work` on the window's thread and waits for its value; rethrows what it threw.
    PropertyValue RunOnWindowThread(std::function<PropertyValue(WindowControls&)> work);

    QObject* m_context;  // outlives the worker: the window joins its workers before it goes
    WindowControls& m_controls;
    std::stop_token m_stop;
};

}  // namespace qivara::ui
