#include "SplashWindow.h"

#include <QApplication>
#include <QTimer>

#include "Pictures.h"
#include "WindowGeometry.h"

namespace qivara::ui {
namespace {

// Swallows every mouse press that reaches the program within one double-click interval of the
// click that closed the splash: the second press of a double click would otherwise land on the
// main window below. Removes itself when the interval is over.
class TrailingPressGuard final : public QObject {
public:
    TrailingPressGuard() : QObject(QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        QTimer::singleShot(QApplication::doubleClickInterval(), this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashWindow"));
    setModal(true);
    setAccessibleName(QStringLiteral("Qivara方程式配平器"));
    setAccessibleDescription(QStringLiteral("单击图片继续"));
    m_picture = new PictureBox(this);
    m_picture->setObjectName(QStringLiteral("图片框1"));
    m_picture->setGeometry(-8, 0, 536, 360);
    ShowAnimation(*m_picture);
    NameAnimation(*m_picture);
    connect(m_picture, &PictureBox::leftButtonPressed, this, [this] {
        new TrailingPressGuard;
        accept();
    });
    FixAndCentre(*this, kSplashWindowSize, kSplashWindowSize);
}

}  // namespace qivara::ui
