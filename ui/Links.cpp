#include "Links.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>

#include "job/MakerAddress.h"

namespace qivara::ui {
namespace {

QString MakerAddress() { return QString::fromUtf8(kMakerAddress.data(), static_cast<qsizetype>(kMakerAddress.size())); }

}  // namespace

QString UnopenedLinkText(const QString& address) {
    return QStringLiteral("无法打开网址，请复制后在浏览器中打开：\n%1").arg(address);
}

MakerLink::MakerLink(const QString& caption, QWidget* parent)
    : QLabel(parent), m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setTextFormat(Qt::RichText);
    setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(MakerAddress(), caption.toHtmlEscaped()));
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(MakerAddress());
    setAccessibleName(caption);
    setAccessibleDescription(MakerAddress());
    connect(this, &QLabel::linkActivated, this, &MakerLink::Open);
}

void MakerLink::Open() {
    const QString address = MakerAddress();
    if (m_opener(QUrl(address))) return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), UnopenedLinkText(address), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

void MakerLink::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const int key = event->key();
    if (plain && !event->isAutoRepeat() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        Open();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

}  // namespace qivara::ui
