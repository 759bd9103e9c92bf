#pragma once
// The single way a job ends: its closing message (none when stopped) and the idle window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "PropertyAccess.h"
#include "formula/ExtendedEquation.h"

namespace qivara {

// How a job ended. Any value outside 0..4 behaves as Summary.
enum class FinishKind : std::int32_t {
    Stopped = 0,               // stop pressed: no message
    Unrecognised = 1,          // the equation or a formula cannot be read
    ElementsNotConserved = 2,  // the sides use different kinds of elements
    NoResult = 3,              // the search recorded nothing
    Summary = 4,               // results written to the result box
};

// A closing message box: code-page-936 texts and the icon style.
struct ClosingMessage {
    std::string message;
    std::string title;
    std::int32_t icon = 0;
};

// The message of `kind`; nullopt for Stopped. The summary counts the results in `resultText`
// (the result box's content): one more than its full-width spaces.
std::optional<ClosingMessage> ClosingMessageFor(FinishKind kind, std::string_view resultText);

// What a job in the extended language adds to its ending: its result box holds UTF-8 (so the
// summary counts UTF-8 full-width spaces), and an unreadable equation's message gains a second
// line with the position and the hint.
struct FinishDetails {
    bool utf8Result = false;
    std::optional<ExtendedError> syntaxError;
};
std::optional<ClosingMessage> ClosingMessageFor(FinishKind kind, std::string_view resultText,
                                                const FinishDetails& details);

// Shows the closing message of `kind` through the window (modal; returns when it is closed),
// then restores the idle window: settings button enabled, equation box editable, start button
// captioned "开始" and made the default button. The caller ends the job right after.
void FinishJob(WindowAccess& window, FinishKind kind);
void FinishJob(WindowAccess& window, FinishKind kind, const FinishDetails& details);

}  // namespace qivara
