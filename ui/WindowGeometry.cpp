#include "WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qivara::ui {

void FixAndCentre(QWidget& window, QSize client, QSize outer) {
    window.setFixedSize(client);
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // move() places the frame's top-left corner of a top-level window.
    window.move(available.center().x() - outer.width() / 2 + 1, available.center().y() - outer.height() / 2 + 1);
}

}  // namespace qivara::ui
