#include "UsageWindow.h"

#include <QLabel>

#include "KeyboardOrder.h"
#include "Links.h"
#include "Pictures.h"
#include "WindowGeometry.h"

namespace qivara::ui {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

UsageWindow::UsageWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("UsageWindow"));
    setModal(true);
    // The title bar shows no words. An empty title would not do: the platform then shows the
    // program's name instead.
    setWindowTitle(QStringLiteral(" "));
    // What a screen reader says for the window: the caption of the button that opens it.
    setAccessibleName(QStringLiteral("使用方法"));

    MakeLabel(this, "标签1", QRect(16, 8, 216, 40), QStringLiteral("Qivara化学方程式配平器"));
    QLabel* caption = MakeLabel(this, "标签3", QRect(288, 8, 88, 24), QStringLiteral("演示"));
    // Three lines of the default face take about 54 px: the box reaches 8 px into the link's
    // box, whose text is centred in it and so starts below the third line.
    MakeLabel(this, "标签2", QRect(8, 64, 240, 56), QStringLiteral("中间连接用=；\n数字大写；\n只能出现一个括号\n"));
    auto* link = new MakerLink(QStringLiteral("关于我们"), this);
    link->setObjectName(QStringLiteral("超级链接框1"));
    link->setGeometry(8, 112, 112, 32);
    link->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetKeyboardOrder({link});

    auto* animation = new PictureBox(this);
    animation->setObjectName(QStringLiteral("图片框2"));
    animation->setGeometry(0, 152, 248, 184);
    ShowAnimation(*animation);
    NameAnimation(*animation);

    auto* demonstration = new PictureBox(this);
    demonstration->setObjectName(QStringLiteral("图片框1"));
    demonstration->setGeometry(272, 32, 256, 296);
    ShowDemonstration(*demonstration);
    caption->setBuddy(demonstration);
    demonstration->setAccessibleName(caption->text());
    demonstration->setAccessibleDescription(
        QStringLiteral("配平前：MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O；配平后：MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O"));

    FixAndCentre(*this, ClientSizeFor(kUsageWindowOuter), kUsageWindowOuter);
}

}  // namespace qivara::ui
