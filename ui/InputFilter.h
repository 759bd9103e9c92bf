#pragma once
// What may be typed into the edit boxes. A typed character is judged by its one-byte code, as
// the box would receive it: an ASCII character by its code, any other character by the first
// byte of its code page 936 form (0x80 or above). Editing keys and shortcuts (arrows, Delete,
// Ctrl+C/V/X/Z/A, ...) and the window's own keys (Tab, Shift+Tab, Enter, Escape) are commands,
// not characters, and are never judged. Text that arrives by
// another route (pasting, an input method) is not typed and is not judged either.

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QLineEdit;

namespace qivara::ui {

// The codes of the characters a key press types, or nullopt when the press is a command.
std::optional<std::vector<int>> TypedCodes(const QKeyEvent& event);

// The equation box: only "A-Za-z0-9()+=" and backspace (8) go on; code 0 goes on as well, since
// the empty text is found in the allowed set.
bool InputFilter(int code);

// Integer text mode: from code 32 upward only the digits and "-"; control codes go on.
bool IntegerTextAccepts(int code);

// The limit boxes' own handler: "-" is discarded.
bool MinusDiscard(int code);

// Discards a key press on the watched QLineEdit when any character it types is refused.
class TypedCharacterGuard final : public QObject {
public:
    using Judge = std::function<bool(int code)>;
    // `judge` is called on the window's thread for every typed character code.
    TypedCharacterGuard(QObject& watched, Judge judge);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Judge m_judge;
};

// Installs the equation box's guard. While extended typing is on (the extended language), every
// typed character goes on: the language reads far more than this set, and its parser says where
// a character is out of place.
void InstallInputFilter(QLineEdit& equationBox);
void SetExtendedTyping(QLineEdit& equationBox, bool on);
// Installs a limit box's guard: integer text mode (while the box is in that mode) plus the minus
// discard.
void InstallLimitBoxFilter(QLineEdit& limitBox);

}  // namespace qivara::ui
