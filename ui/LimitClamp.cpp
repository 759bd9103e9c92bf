#include "LimitClamp.h"

#include <QEvent>
#include <QLineEdit>
#include <algorithm>

#include "Numbers.h"
#include "QtText.h"

namespace qivara::ui {

std::string LimitClamp(std::string_view text, int lowest, int highest) {
    const std::int32_t value = std::clamp<std::int32_t>(TextToInteger(text), lowest, highest);
    return NumberToText(std::int64_t{value});
}

LimitClampOnFocusOut::LimitClampOnFocusOut(QLineEdit& box, int lowest, int highest)
    : QObject(&box), m_box(box), m_lowest(lowest), m_highest(highest) {
    box.installEventFilter(this);
}

bool LimitClampOnFocusOut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_box && event->type() == QEvent::FocusOut) {
        m_box.setText(QStringFromCp936(LimitClamp(Cp936FromQString(m_box.text()), m_lowest, m_highest)));
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qivara::ui
