#include "Links.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

#include "job/MakerAddress.h"

namespace qivara::ui {

QLabel* MakeMakerLink(const QString& caption, QWidget* parent) {
    auto* link = new QLabel(parent);
    link->setTextFormat(Qt::RichText);
    link->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(QString::fromUtf8(kMakerAddress), caption.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(QString::fromUtf8(kMakerAddress));
    QObject::connect(link, &QLabel::linkActivated, link,
                     [](const QString& target) { QDesktopServices::openUrl(QUrl(target)); });
    return link;
}

}  // namespace qivara::ui
