#include "MessageBoxPresenter.h"

#include "PropertyAccess.h"

namespace qivara::ui {

QMessageBox::Icon IconForStyle(std::int32_t style) {
    switch (style) {
        case kIconError:
            return QMessageBox::Critical;
        case kIconWarning:
            return QMessageBox::Warning;
        case kIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

void ShowModalMessageBox(QWidget& owner, const QString& message, const QString& title, QMessageBox::Icon icon) {
    // A plain-text label breaks lines at LF; a CR would show as a stray glyph.
    QString shown = message;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title, shown, QMessageBox::Ok, &owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace qivara::ui
