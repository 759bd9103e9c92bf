#pragma once
// The main window's controls without a screen: what the CLI, the engine tests and the benchmark
// run jobs on. Starts with the window's defaults (MainWindowControls.h; balanced equations
// selected) and records every message box and every write.

#include <map>
#include <string>
#include <vector>

#include "PropertyAccess.h"
#include "job/MainWindowControls.h"

namespace qivara {

class HeadlessWindow final : public WindowAccess {
public:
    struct Write {
        std::string control;
        Property property;
        PropertyValue value;
    };
    struct MessageBox {
        std::string message;  // code page 936
        std::string title;
        std::int32_t style = 0;
    };

    // The equation box and the two limit boxes hold these texts (code page 936), as a user would
    // leave them before pressing start; the window's own initial texts are ASCII, the same bytes in
    // either encoding. Not recorded as writes.
    explicit HeadlessWindow(std::string_view equation = controls::kEquationBox.initial,
                            std::string_view limitText = controls::kCoefficientLimitBox.initial,
                            std::string_view resultsText = controls::kResultLimitBox.initial);

    PropertyValue ReadProperty(std::string_view control, Property property) override;
    // Writing the equation box's content empties the result box, as the window's handler does;
    // selecting one radio button clears the other.
    void WriteProperty(std::string_view control, Property property, const PropertyValue& value) override;
    // Records the box; the "user" closes it at once.
    void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) override;

    const std::vector<MessageBox>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<Write>& Writes() const { return m_writes; }

private:
    PropertyValue& Slot(std::string_view control, Property property);

    std::map<std::pair<std::string, Property>, PropertyValue, std::less<>> m_properties;
    std::vector<MessageBox> m_messageBoxes;
    std::vector<Write> m_writes;
};

}  // namespace qivara
