#include "WorkerBridge.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

#include "QtText.h"
#include "WindowControls.h"
#include "WindowThreadInbox.h"
#include "job/MainWindowControls.h"
#include "job/StopCheckedWindow.h"

namespace qivara::ui {
namespace {

// Shared by the waiting worker and the window's thread; whichever leaves last releases it.
struct Request {
    std::mutex mutex;
    std::condition_variable_any done;
    bool finished = false;
    bool refused = false;
    PropertyValue value;
    std::exception_ptr error;
};

bool IsUtf8Box(std::string_view control, Property property) {
    return property == Property::Content && (control == controls::kEquationBox || control == controls::kResultBox);
}

}  // namespace

WorkerBridge::WorkerBridge(WindowThreadInbox& inbox, WindowControls& controls, std::stop_token stop, bool utf8Boxes)
    : m_inbox(&inbox), m_controls(controls), m_stop(std::move(stop)), m_utf8Boxes(utf8Boxes) {}

PropertyValue WorkerBridge::RunOnWindowThread(std::function<PropertyValue(WindowControls&)> work) {
    if (m_stop.stop_requested()) throw JobStopped{};
    auto request = std::make_shared<Request>();
    WindowControls* controls = &m_controls;
    m_inbox->Post([request, controls, stop = m_stop, work = std::move(work)] {
        bool refused = stop.stop_requested();
        PropertyValue value;
        std::exception_ptr error;
        if (!refused) {
            try {
                value = work(*controls);
            } catch (...) {
                error = std::current_exception();
            }
        }
        const std::lock_guard lock(request->mutex);
        request->refused = refused;
        request->value = std::move(value);
        request->error = error;
        request->finished = true;
        request->done.notify_all();
    });

    std::unique_lock lock(request->mutex);
    request->done.wait(lock, m_stop, [&] { return request->finished; });
    if (!request->finished || request->refused) throw JobStopped{};
    if (request->error) std::rethrow_exception(request->error);
    return std::move(request->value);
}

PropertyValue WorkerBridge::ReadProperty(std::string_view control, Property property) {
    if (m_utf8Boxes && IsUtf8Box(control, property)) {
        return RunOnWindowThread([name = std::string(control)](WindowControls& controls) -> PropertyValue {
            return Utf8FromQString(controls.ReadEditText(name));
        });
    }
    return RunOnWindowThread([name = std::string(control), property](WindowControls& controls) {
        return controls.ReadProperty(name, property);
    });
}

void WorkerBridge::WriteProperty(std::string_view control, Property property, const PropertyValue& value) {
    if (m_utf8Boxes && IsUtf8Box(control, property) && std::holds_alternative<std::string>(value)) {
        RunOnWindowThread([name = std::string(control), text = std::get<std::string>(value)](WindowControls& controls) {
            controls.WriteEditText(name, QStringFromUtf8(text));
            return PropertyValue{};
        });
        return;
    }
    RunOnWindowThread([name = std::string(control), property, value](WindowControls& controls) {
        controls.WriteProperty(name, property, value);
        return PropertyValue{};
    });
}

void WorkerBridge::ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) {
    RunOnWindowThread([message, title, style](WindowControls& controls) {
        controls.ShowMessageBox(message, title, style);
        return PropertyValue{};
    });
}

}  // namespace qivara::ui
