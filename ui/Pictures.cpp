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

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void PictureBox::SetStill(const QImage& picture) {
    m_still = picture;
    m_natural = picture.size();
    Fit();
}

void PictureBox::Fit() {
    if (m_natural.isEmpty()) return;
    const QSize fitted = m_natural.scaled(size(), Qt::KeepAspectRatio);
    if (QMovie* playing = movie()) {
        playing->setScaledSize(fitted);
    } else if (!m_still.isNull()) {
        setPixmap(QPixmap::fromImage(m_still.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
}

void ShowAnimation(PictureBox& box) {
    auto* movie = new QMovie(QString::fromLatin1(kAnimationResource), QByteArray(), &box);
    movie->setCacheMode(QMovie::CacheAll);
    // A program installed without Qt's GIF reader would show an empty box: say so.
    if (!movie->isValid()) qWarning("qivara-balancer: the animated picture cannot be read");
    box.setMovie(movie);
    if (movie->jumpToFrame(0)) {
        const QImage first = movie->currentImage();
        FillWith(box, first.pixelColor(0, 0));
        box.SetNaturalSize(first.size());
        movie->setScaledSize(first.size().scaled(box.size(), Qt::KeepAspectRatio));
    }
    movie->start();
}

void NameAnimation(PictureBox& box) {
    box.setAccessibleName(QStringLiteral("动画：氢气和氧气生成水"));
    box.setAccessibleDescription(QStringLiteral("两个氢分子和一个氧分子生成两个水分子：2H2+O2=2H2O"));
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
    box.SetStill(picture);
}

}  // namespace qivara::ui
