#include "KeyboardOrder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace qivara::ui {
namespace {

bool TakesTabFocus(const QWidget& widget) {
    return widget.isVisible() && widget.isEnabled() && (widget.focusPolicy() & Qt::TabFocus);
}

// The next (or previous) control of the window's focus chain that Tab would reach.
void MoveFocus(QWidget& from, bool forward) {
    QWidget* candidate = &from;
    do {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
    } while (candidate != &from && !(candidate->window() == from.window() && TakesTabFocus(*candidate)));
    candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool PressesButton(int key) { return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter; }

// Key handling the controls lack on their own. A link label takes Tab for moving among the links
// in its text and, holding one link, never lets the focus go; a push button outside a dialog
// ignores Enter.
//
// A push button acts when Space goes down, not when it comes up as Qt's own buttons do: Qt drops
// the press when the button loses the focus or the key comes up elsewhere in between, and the
// start button's state moves on its own in that gap (a job that ends shows its message box,
// which takes the focus). Space, Return and Enter thus press the button the moment the key is
// down, as a mouse press on it is seen; Space's release and held keys do nothing more.
class KeyboardUse final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        if (auto* label = qobject_cast<QLabel*>(watched)) {
            if (event->type() != QEvent::KeyPress) return false;
            if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) return false;
            MoveFocus(*label, key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            if (!PressesButton(key.key())) return false;
            if (event->type() == QEvent::KeyPress && !key.isAutoRepeat()) button->click();
            return true;
        }
        return false;
    }
};

}  // namespace

void SetKeyboardOrder(const QList<QWidget*>& controls) {
    for (qsizetype i = 0; i + 1 < controls.size(); ++i) QWidget::setTabOrder(controls[i], controls[i + 1]);
    for (QWidget* control : controls) {
        if (qobject_cast<QLabel*>(control) || qobject_cast<QPushButton*>(control)) {
            control->installEventFilter(new KeyboardUse(control));
        }
    }
}

}  // namespace qivara::ui
