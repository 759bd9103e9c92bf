#include "WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qivara::ui {
namespace {

int Scaled(int length, double factor) { return static_cast<int>(std::floor(length * factor)); }

// Every child the window holds directly, its font included: the usage and splash windows lay
// their controls out on the window itself.
void ShrinkChildren(QWidget& window, double factor) {
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;
        const QRect box = child->geometry();
        child->setGeometry(Scaled(box.x(), factor), Scaled(box.y(), factor), Scaled(box.width(), factor),
                           Scaled(box.height(), factor));
        QFont font = child->font();
        if (font.pixelSize() > 0) {
            font.setPixelSize(std::max(1, Scaled(font.pixelSize(), factor)));
        } else {
            font.setPointSizeF(font.pointSizeF() * factor);
        }
        child->setFont(font);
    }
}

}  // namespace

double FitFactor(QSize client, QSize outer, QSize available) {
    const QSize frame = outer - client;
    if (client.width() <= 0 || client.height() <= 0) return 1.0;
    const double across = static_cast<double>(available.width() - frame.width()) / client.width();
    const double down = static_cast<double>(available.height() - frame.height()) / client.height();
    return std::clamp(std::min(across, down), 0.0, 1.0);
}

void FixAndCentre(QWidget& window, QSize client, QSize outer) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window.setFixedSize(client);
        return;
    }
    FixAndCentre(window, client, outer, screen->availableGeometry());
}

void FixAndCentre(QWidget& window, QSize client, QSize outer, const QRect& available) {
    const double factor = FitFactor(client, outer, available.size());
    if (factor < 1.0) {
        const QSize frame = outer - client;
        client = QSize(Scaled(client.width(), factor), Scaled(client.height(), factor));
        outer = client + frame;
        ShrinkChildren(window, factor);
    }
    window.setFixedSize(client);
    // move() places the frame's top-left corner of a top-level window.
    const int x = available.center().x() - outer.width() / 2 + 1;
    const int y = available.center().y() - outer.height() / 2 + 1;
    window.move(std::max(x, available.left()), std::max(y, available.top()));
}

}  // namespace qivara::ui
