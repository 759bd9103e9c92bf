#pragma once
// Property access: how code outside the window reads and writes its controls, by the control's
// unit name and a property number. The window implements WindowAccess; a job sees nothing else
// of it. Texts are code page 936 bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace qivara {

// Property numbers. 0..7 are common to every control; from 8 on they depend on the control type.
enum class Property : std::int32_t {
    Left = 0,
    Top = 1,
    Width = 2,
    Height = 3,
    Tag = 4,
    Visible = 5,
    Disabled = 6,  // 1 disabled, 0 enabled
    MouseCursor = 7,
    Content = 8,       // edit box: its text
    ButtonType = 9,    // push button: 1 default push button, 0 ordinary
    Caption = 10,      // push button
    CurrentPage = 12,  // page container: 0 main page, 1 settings page
    InputMode = 18,    // edit box: see InputMode below
    Selected = 18,     // radio button: 1 when selected (same number, other control type)
};

enum InputMode : std::int32_t { kInputNormal = 0, kInputReadOnly = 1, kInputPassword = 2, kInputInteger = 3 };

// A property's value: an integer, or a text for text properties (content, caption).
using PropertyValue = std::variant<std::int32_t, std::string>;

// The message box styles a job uses: the icon, with a single OK button.
enum MessageIcon : std::int32_t { kIconError = 16, kIconWarning = 48, kIconInformation = 64 };

class WindowAccess {
public:
    virtual ~WindowAccess() = default;

    // Reads a property; a text property gives a new text. Unknown controls or properties are
    // programming errors and throw std::logic_error.
    virtual PropertyValue ReadProperty(std::string_view control, Property property) = 0;

    // Writes a property. Writing an edit box's content raises its content-changed event.
    virtual void WriteProperty(std::string_view control, Property property, const PropertyValue& value) = 0;

    // Shows a modal message box owned by the window and returns when the user has closed it.
    virtual void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) = 0;

    std::string ReadText(std::string_view control, Property property) {
        return std::get<std::string>(ReadProperty(control, property));
    }
    std::int32_t ReadInteger(std::string_view control, Property property) {
        return std::get<std::int32_t>(ReadProperty(control, property));
    }
};

}  // namespace qivara
