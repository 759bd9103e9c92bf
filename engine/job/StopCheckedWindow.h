#pragma once

#include <stop_token>

#include "PropertyAccess.h"

namespace qivara {

// Thrown to unwind a job whose stop was requested; the job then ends as Stopped.
struct JobStopped {};

// The job's view of its window: every access first polls the stop request, so a stopped job
// neither writes to the window nor shows anything once the stop is seen.
class StopCheckedWindow final : public WindowAccess {
public:
    StopCheckedWindow(WindowAccess& window, std::stop_token stop) : m_window(window), m_stop(std::move(stop)) {}

    PropertyValue ReadProperty(std::string_view control, Property property) override {
        Check();
        return m_window.ReadProperty(control, property);
    }
    void WriteProperty(std::string_view control, Property property, const PropertyValue& value) override {
        Check();
        m_window.WriteProperty(control, property, value);
    }
    void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) override {
        Check();
        m_window.ShowMessageBox(message, title, style);
    }

private:
    void Check() const {
        if (m_stop.stop_requested()) throw JobStopped{};
    }

    WindowAccess& m_window;
    std::stop_token m_stop;
};

}  // namespace qivara
