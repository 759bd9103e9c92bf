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

// Key handling the controls lack on their own. A link label takes Tab for moving among the links
// in its text and, holding one link, never lets the focus go; a push button outside a dialog
// ignores Enter.
class KeyboardUse final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        if (auto* label = qobject_cast<QLabel*>(watched)) {
            if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) return false;
            MoveFocus(*label, key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
            if (!key.isAutoRepeat()) button->click();
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
