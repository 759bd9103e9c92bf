#include "job/HeadlessWindow.h"

#include <stdexcept>

#include "Encoding.h"
#include "job/MainWindowControls.h"

namespace qivara {

HeadlessWindow::HeadlessWindow(std::string_view equation, std::string_view limitText, std::string_view resultsText) {
    using namespace controls;
    auto set = [this](std::string_view control, Property property, PropertyValue value) {
        m_properties[{std::string(control), property}] = std::move(value);
    };
    auto caption = [&set](const Control& control) { set(control, Property::Caption, Cp936FromUtf8(control.initial)); };
    set(kEquationBox, Property::Content, std::string(equation));
    set(kEquationBox, Property::InputMode, kInputNormal);
    set(kResultBox, Property::Content, Cp936FromUtf8(kResultBox.initial));
    set(kResultBox, Property::InputMode, kInputReadOnly);
    set(kCoefficientLimitBox, Property::Content, std::string(limitText));
    set(kCoefficientLimitBox, Property::InputMode, kInputInteger);
    set(kResultLimitBox, Property::Content, std::string(resultsText));
    set(kResultLimitBox, Property::InputMode, kInputInteger);
    set(kCoefficientsOnlyRadio, Property::Selected, 0);
    set(kBalancedEquationRadio, Property::Selected, 1);
    caption(kSettingsButton);
    set(kSettingsButton, Property::Disabled, 0);
    caption(kStartStopButton);
    set(kStartStopButton, Property::ButtonType, 0);
    set(kStartStopButton, Property::Disabled, 0);
    caption(kUsageButton);
    set(kPageContainer, Property::CurrentPage, 0);
}

PropertyValue& HeadlessWindow::Slot(std::string_view control, Property property) {
    const auto found = m_properties.find(std::pair<std::string, Property>(std::string(control), property));
    if (found == m_properties.end()) {
        throw std::logic_error("no property " + std::to_string(static_cast<int>(property)) + " on " +
                               std::string(control));
    }
    return found->second;
}

PropertyValue HeadlessWindow::ReadProperty(std::string_view control, Property property) {
    return Slot(control, property);
}

void HeadlessWindow::WriteProperty(std::string_view control, Property property, const PropertyValue& value) {
    PropertyValue& slot = Slot(control, property);
    if (slot.index() != value.index()) throw std::logic_error("wrong value type for " + std::string(control));
    slot = value;
    m_writes.push_back(Write{std::string(control), property, value});
    if (control == controls::kEquationBox && property == Property::Content) {
        Slot(controls::kResultBox, Property::Content) = std::string();
    }
    if (property == Property::Selected && std::get<std::int32_t>(value) == 1) {
        if (control == controls::kCoefficientsOnlyRadio) Slot(controls::kBalancedEquationRadio, property) = 0;
        if (control == controls::kBalancedEquationRadio) Slot(controls::kCoefficientsOnlyRadio, property) = 0;
    }
}

void HeadlessWindow::ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) {
    m_messageBoxes.push_back(MessageBox{message, title, style});
}

}  // namespace qivara
