#include "SplashWindow.h"

#include "Pictures.h"
#include "WindowGeometry.h"

namespace qivara::ui {

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashWindow"));
    setModal(true);
    m_picture = new PictureBox(this);
    m_picture->setObjectName(QStringLiteral("图片框1"));
    m_picture->setGeometry(-8, 0, 536, 360);
    ShowAnimation(*m_picture);
    connect(m_picture, &PictureBox::leftButtonPressed, this, &QDialog::accept);
    FixAndCentre(*this, kSplashWindowSize, kSplashWindowSize);
}

}  // namespace qivara::ui
