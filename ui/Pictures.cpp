#include "Pictures.h"

#include <QFile>
#include <QMouseEvent>
#include <QMovie>

#include "JpegImage.h"

namespace qivara::ui {
namespace {

void FillWith(QLabel& box, const QColor& colour) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, colour);
    box.setPalette(palette);
    box.setAutoFillBackground(true);
    box.setAlignment(Qt::AlignCenter);
}

}  // namespace

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftButtonPressed();
    QLabel::mousePressEvent(event);
}

void ShowAnimation(PictureBox& box) {
    auto* movie = new QMovie(QString::fromLatin1(kAnimationResource), QByteArray(), &box);
    movie->setCacheMode(QMovie::CacheAll);
    // A program installed without Qt's GIF reader would show an empty box: say so.
    if (!movie->isValid()) qWarning("qivara-balancer: the animated picture cannot be read");
    if (movie->jumpToFrame(0)) {
        const QImage first = movie->currentImage();
        FillWith(box, first.pixelColor(0, 0));
        movie->setScaledSize(first.size().scaled(box.size(), Qt::KeepAspectRatio));
    }
    box.setMovie(movie);
    movie->start();
}

void ShowDemonstration(PictureBox& box) {
    QFile file(QString::fromLatin1(kDemonstrationResource));
    if (!file.open(QIODevice::ReadOnly)) return;
    const QImage picture = DecodeJpeg(file.readAll());
    if (picture.isNull()) {
        qWarning("qivara-balancer: the demonstration picture cannot be read");
        return;
    }
    FillWith(box, box.palette().color(QPalette::Button));
    box.setPixmap(QPixmap::fromImage(picture.scaled(box.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace qivara::ui
