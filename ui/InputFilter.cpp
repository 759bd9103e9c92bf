#include "InputFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "QtText.h"
#include "Text.h"
#include "WindowControls.h"

namespace qivara::ui {
namespace {

constexpr std::string_view kAllowedInEquation = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890()+=";
constexpr int kBackspace = 8;
constexpr char kExtendedTypingProperty[] = "qivaraExtendedTyping";

bool IsCommand(const QKeyEvent& event) {
    if (event.text().isEmpty()) return true;  // arrows, Home, End, function keys, modifiers
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
    switch (event.key()) {
        // Keys the window handles before any box would see them as typed characters: moving
        // between the controls, pressing a button, closing a dialog.
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
        case Qt::Key_Insert:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<std::vector<int>> TypedCodes(const QKeyEvent& event) {
    if (IsCommand(event)) return std::nullopt;
    std::vector<int> codes;
    const QString text = event.text();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        i += width;
        const char16_t unit = character.at(0).unicode();
        if (width == 1 && unit < 0x80) {
            codes.push_back(unit);
            continue;
        }
        const std::string bytes = Cp936FromQString(character);
        codes.push_back(bytes.empty() ? 0 : static_cast<unsigned char>(bytes.front()));
    }
    return codes;
}

bool InputFilter(int code) {
    const std::string character = CharFromCode(code);
    return TextFind(kAllowedInEquation, character) != -1 || code == kBackspace;
}

bool IntegerTextAccepts(int code) { return code < 32 || (code >= '0' && code <= '9') || code == '-'; }

bool MinusDiscard(int code) { return code != '-'; }

TypedCharacterGuard::TypedCharacterGuard(QObject& watched, Judge judge) : QObject(&watched), m_judge(std::move(judge)) {
    watched.installEventFilter(this);
}

bool TypedCharacterGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const std::optional<std::vector<int>> codes = TypedCodes(*static_cast<QKeyEvent*>(event));
    if (!codes) return false;
    for (const int code : *codes) {
        if (!m_judge(code)) return true;  // discarded: the box never sees the key
    }
    return false;
}

void InstallInputFilter(QLineEdit& equationBox) {
    new TypedCharacterGuard(equationBox, [&equationBox](int code) {
        return equationBox.property(kExtendedTypingProperty).toBool() || InputFilter(code);
    });
}

void SetExtendedTyping(QLineEdit& equationBox, bool on) { equationBox.setProperty(kExtendedTypingProperty, on); }

void InstallLimitBoxFilter(QLineEdit& limitBox) {
    new TypedCharacterGuard(limitBox, [&limitBox](int code) {
        if (InputModeOf(limitBox) == kInputInteger && !IntegerTextAccepts(code)) return false;
        return MinusDiscard(code);
    });
}

}  // namespace qivara::ui
