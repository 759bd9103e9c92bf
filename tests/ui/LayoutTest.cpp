// The three windows against their layout table: every control's name, type, container, geometry,
// caption, font and starting settings, and the windows' own size, title and frame.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMovie>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>

#include "Pictures.h"
#include "QtTranslation.h"
#include "SplashWindow.h"
#include "TableRows.h"
#include "UiTestSupport.h"
#include "UsageWindow.h"
#include "WindowControls.h"
#include "WindowGeometry.h"
#include "job/MainWindowControls.h"

namespace qivara::test {
namespace {

enum class Font { Default, Small14 };

struct ControlRow {
    const char* window;
    const char* name;
    const char* type;
    const char* container;
    QRect geometry;
    const char* caption;  // for a link: its visible text
    Font font;
    const char* accessibleName;  // what a screen reader calls it: its label's text, or its own
};

// One row per control, as laid out for the user.
// clang-format off
const ControlRow kControls[] = {
    {"MainWindow", "选择夹", "QStackedWidget", "MainWindow", {0, 0, 672, 296}, nullptr, Font::Default, nullptr},
    {"MainWindow", "按钮1", "QPushButton", "MainWindow", {8, 256, 80, 32}, "设置", Font::Small14, "设置"},
    {"MainWindow", "超级", "QLabel", "MainPage", {176, 8, 96, 32}, "关于Qivara科技", Font::Default, "关于Qivara科技"},
    {"MainWindow", "标签1", "QLabel", "MainPage", {8, 24, 128, 24}, "欲配平方程式", Font::Default, "欲配平方程式"},
    {"MainWindow", "编辑框1", "QLineEdit", "MainPage", {8, 48, 288, 48}, "", Font::Small14, "欲配平方程式"},
    {"MainWindow", "标签2", "QLabel", "MainPage", {8, 104, 88, 16}, "配平结果", Font::Default, "配平结果"},
    {"MainWindow", "编辑框2", "QLineEdit", "MainPage", {8, 120, 288, 56}, "", Font::Small14, "配平结果"},
    {"MainWindow", "按钮4", "QPushButton", "MainPage", {96, 256, 80, 32}, "配平", Font::Small14, "配平"},
    {"MainWindow", "按钮9", "QPushButton", "MainPage", {184, 256, 80, 32}, "使用方法", Font::Default, "使用方法"},
    {"MainWindow", "分组框1", "QGroupBox", "SettingsPage", {8, 24, 248, 128}, "基本设置", Font::Small14, "基本设置"},
    {"MainWindow", "标签3", "QLabel", "分组框1", {24, 32, 80, 24}, "系数上限：", Font::Small14, "系数上限："},
    {"MainWindow", "编辑框3", "QLineEdit", "分组框1", {120, 32, 96, 24}, "16", Font::Small14, "系数上限"},
    {"MainWindow", "标签4", "QLabel", "分组框1", {24, 72, 80, 24}, "结果上限：", Font::Small14, "结果上限："},
    {"MainWindow", "编辑框4", "QLineEdit", "分组框1", {120, 72, 96, 24}, "1", Font::Small14, "结果上限"},
    {"MainWindow", "分组框2", "QGroupBox", "SettingsPage", {8, 128, 248, 128}, "结果显示", Font::Small14, "结果显示"},
    {"MainWindow", "单选框1", "QRadioButton", "分组框2", {24, 32, 200, 24}, "只显示配平系数", Font::Small14, "只显示配平系数"},
    {"MainWindow", "单选框2", "QRadioButton", "分组框2", {24, 72, 200, 24}, "显示配平后的方程式", Font::Small14, "显示配平后的方程式"},
    {"MainWindow", "复选框1", "QCheckBox", "SettingsPage", {96, 256, 200, 32}, "扩展语法", Font::Small14, "扩展语法"},
    {"UsageWindow", "标签1", "QLabel", "UsageWindow", {16, 8, 216, 40}, "Qivara化学方程式配平器", Font::Default, "Qivara化学方程式配平器"},
    {"UsageWindow", "标签3", "QLabel", "UsageWindow", {288, 8, 88, 24}, "演示", Font::Default, "演示"},
    {"UsageWindow", "标签2", "QLabel", "UsageWindow", {8, 64, 240, 56}, "中间连接用=；\n数字大写；\n只能出现一个括号\n", Font::Default, "中间连接用=；\n数字大写；\n只能出现一个括号\n"},
    {"UsageWindow", "超级链接框1", "QLabel", "UsageWindow", {8, 112, 112, 32}, "关于我们", Font::Default, "关于我们"},
    {"UsageWindow", "图片框2", "QLabel", "UsageWindow", {0, 152, 248, 184}, nullptr, Font::Default, "动画：氢气和氧气生成水"},
    {"UsageWindow", "图片框1", "QLabel", "UsageWindow", {272, 32, 256, 296}, nullptr, Font::Default, "演示"},
    {"SplashWindow", "图片框1", "QLabel", "SplashWindow", {-8, 0, 536, 360}, nullptr, Font::Default, "动画：氢气和氧气生成水"},
};
// clang-format on

QString CaptionOf(const QWidget& widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(&widget)) return edit->text();
    if (auto* group = qobject_cast<const QGroupBox*>(&widget)) return group->title();
    if (auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->textFormat() == Qt::RichText) {
            QTextDocument document;
            document.setHtml(label->text());
            return document.toPlainText();
        }
        return label->text();
    }
    return {};
}

class Layout : public MainWindowTest {
protected:
    QWidget& WindowNamed(const char* name) {
        if (QLatin1String(name) == QLatin1String("MainWindow")) return *window;
        if (QLatin1String(name) == QLatin1String("UsageWindow")) return usage;
        return splash;
    }
    UsageWindow usage;
    SplashWindow splash;
};

TEST_F(Layout, EveryControlMatchesTheTable) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(std::string(row.window) + " " + row.name);
        QWidget& owner = WindowNamed(row.window);
        const auto matches = owner.findChildren<QWidget*>(Q(row.name));
        ASSERT_EQ(matches.size(), 1);
        const QWidget& control = *matches.front();
        EXPECT_TRUE(control.inherits(row.type)) << control.metaObject()->className();
        ASSERT_TRUE(control.parentWidget());
        EXPECT_EQ(control.parentWidget()->objectName(), Q(row.container));
        EXPECT_EQ(control.geometry(), row.geometry);
        if (row.caption) {
            EXPECT_EQ(CaptionOf(control), Q(row.caption));
        }
        if (row.accessibleName) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(matches.front());
            ASSERT_TRUE(accessible);
            EXPECT_EQ(accessible->text(QAccessible::Name), Q(row.accessibleName));
        }
        if (row.font == Font::Small14) {
            EXPECT_EQ(control.font().pixelSize(), 14);
            EXPECT_EQ(control.font().weight(), QFont::Normal);
        } else {
            EXPECT_EQ(control.font(), QApplication::font(&control));
        }
    }
}

TEST_F(Layout, StartingSettingsOfTheMainWindow) {
    using namespace controls;
    EXPECT_FALSE(Edit(kEquationBox).isReadOnly());
    EXPECT_TRUE(Edit(kResultBox).isReadOnly());
    EXPECT_EQ(Edit(kEquationBox).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(Edit(kResultBox).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    for (std::string_view box : {kCoefficientLimitBox, kResultLimitBox}) {
        EXPECT_EQ(Edit(box).maxLength(), 2);
        EXPECT_EQ(Edit(box).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(window->Controls().ReadInteger(box, Property::InputMode), kInputInteger);
    }
    EXPECT_EQ(window->Controls().ReadInteger(kEquationBox, Property::InputMode), kInputNormal);
    EXPECT_FALSE(Radio(kCoefficientsOnlyRadio).isChecked());
    EXPECT_TRUE(Radio(kBalancedEquationRadio).isChecked());
    EXPECT_FALSE(Control<QCheckBox>("复选框1").isChecked()) << "the extended language is off at start";
    EXPECT_FALSE(Button(kStartStopButton).isDefault());
    EXPECT_FALSE(Button(kSettingsButton).isDefault());
    EXPECT_EQ(window->findChild<QStackedWidget*>(Q(kPageContainer))->currentIndex(), 0);
    EXPECT_TRUE(window->findChildren<QTabBar*>().isEmpty()) << "no tab headers";

    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(192, 192, 192));
    for (const char* name : {"分组框1", "分组框2", "标签3", "标签4", "单选框1", "单选框2"}) {
        const QWidget& widget = Control<QWidget>(name);
        EXPECT_EQ(widget.palette().color(QPalette::Window), QColor(205, 205, 205)) << name;
        EXPECT_TRUE(widget.autoFillBackground()) << name;
    }
    // What shows: a radio button's whole box in the group box's colour, beside its caption too.
    for (std::string_view radio : {kCoefficientsOnlyRadio.name, kBalancedEquationRadio.name}) {
        const QImage shown = Radio(radio).grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() / 2), QColor(205, 205, 205));
    }
    for (std::string_view box : {kEquationBox.name, kResultBox.name, kCoefficientLimitBox.name, kResultLimitBox.name}) {
        EXPECT_EQ(Edit(box).palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(Edit(box).palette().color(QPalette::Text), QColor(Qt::black));
    }
}

TEST_F(Layout, RadioButtonsAreOneGroup) {
    Radio(controls::kCoefficientsOnlyRadio).click();
    EXPECT_FALSE(Radio(controls::kBalancedEquationRadio).isChecked());
    Radio(controls::kBalancedEquationRadio).click();
    EXPECT_FALSE(Radio(controls::kCoefficientsOnlyRadio).isChecked());
}

TEST_F(Layout, WindowsHaveTheirSizesTitlesAndFrames) {
    EXPECT_EQ(window->windowTitle(), Q("Qivara方程式配平器"));
    EXPECT_EQ(window->size(), ClientSizeFor(kMainWindowOuter));
    EXPECT_EQ(window->size(), QSize(304, 292));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed size";
    const Qt::WindowFlags mainFlags = window->windowFlags();
    EXPECT_TRUE(mainFlags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(mainFlags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(mainFlags & Qt::WindowMaximizeButtonHint);
    // Without it the window manager adds the title-bar boxes it likes.
    EXPECT_TRUE(mainFlags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(usage.windowFlags() & Qt::CustomizeWindowHint);

    EXPECT_TRUE(usage.windowTitle().trimmed().isEmpty());
    EXPECT_FALSE(usage.windowTitle().isEmpty()) << "the platform would show the program's name instead";
    EXPECT_EQ(usage.size(), QSize(534, 354));
    EXPECT_EQ(usage.minimumSize(), usage.maximumSize());
    EXPECT_TRUE(usage.isModal());
    EXPECT_TRUE(usage.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(usage.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    EXPECT_EQ(splash.size(), QSize(529, 359));

    // The windows' names for a screen reader; the usage window's title shows no words.
    for (const auto& [shown, name] : {std::pair<QWidget*, const char*>{window.get(), "Qivara方程式配平器"},
                                      {&usage, "使用方法"},
                                      {&splash, "Qivara方程式配平器"}}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(shown);
        ASSERT_TRUE(accessible);
        EXPECT_EQ(accessible->text(QAccessible::Name), Q(name));
    }
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.isModal());
}

struct ScreenCase {
    const char* name;
    double scale;  // QT_SCALE_FACTOR on a 1024 x 768 screen
};

class FitsTheScreen : public Layout, public ::testing::WithParamInterface<ScreenCase> {};

// Every window with its frame lies inside the screen's available area, its title bar on it, and
// every picture fits its box; a window that fits as laid out keeps its size.
TEST_P(FitsTheScreen, WindowsAndPicturesFit) {
    const double scale = GetParam().scale;
    const QRect available(0, 0, static_cast<int>(1024 / scale), static_cast<int>(768 / scale));
    const std::pair<QWidget*, std::pair<QSize, QSize>> windows[] = {
        {window.get(), {ClientSizeFor(kMainWindowOuter), kMainWindowOuter}},
        {&usage, {ClientSizeFor(kUsageWindowOuter), kUsageWindowOuter}},
        {&splash, {kSplashWindowSize, kSplashWindowSize}}};
    for (const auto& [shown, sizes] : windows) {
        SCOPED_TRACE(shown->objectName().toStdString());
        const auto& [client, outer] = sizes;
        FixAndCentre(*shown, client, outer, available);
        const QSize frame = outer - client;
        EXPECT_EQ(shown->minimumSize(), shown->maximumSize());
        EXPECT_TRUE(available.contains(QRect(shown->pos(), shown->size() + frame))) << shown->pos().x();
        if (FitFactor(client, outer, available.size()) == 1.0) {
            EXPECT_EQ(shown->size(), client);
        }
        shown->show();  // a hidden widget is resized only when it shows
        for (const PictureBox* box : shown->findChildren<PictureBox*>()) {
            const QSize picture = box->movie() ? box->movie()->scaledSize() : box->pixmap().size();
            EXPECT_FALSE(picture.isEmpty());
            EXPECT_LE(picture.width(), box->width());
            EXPECT_LE(picture.height(), box->height());
        }
        if (shown != window.get()) shown->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(Window, FitsTheScreen,
                         ::testing::Values(ScreenCase{"Scale1", 1.0}, ScreenCase{"Scale1_5", 1.5},
                                           ScreenCase{"Scale2", 2.0}),
                         RowName());

TEST_F(MainWindowTest, UsageButtonOpensTheUsageWindowModally) {
    QString opened;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            opened = modal->metaObject()->className();
            modal->close();
        }
    });
    Click(controls::kUsageButton);
    EXPECT_EQ(opened, Q("qivara::ui::UsageWindow"));
}

TEST(Splash, ClickOnThePictureClosesIt) {
    SplashWindow splash;
    bool closedByClick = false;
    QTimer::singleShot(0, [&] {
        QWidget* picture = splash.findChild<QWidget*>(Q("图片框1"));
        if (!picture) return;
        QTest::mouseClick(picture, Qt::RightButton, {}, QPoint(100, 100));
        if (!splash.isVisible()) return;  // only the left button closes it
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 100));
        closedByClick = !splash.isVisible();
        if (splash.isVisible()) splash.reject();
    });
    splash.exec();
    EXPECT_TRUE(closedByClick);
    // The click's guard swallows every press for one double-click interval; later tests click.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
}

// Qt's own words are Chinese too, whatever the locale; without the translation file nothing
// changes.
TEST(QtWords, MessageBoxButtonAndContextMenuAreChinese) {
    EXPECT_EQ(LoadQtTranslation(Q("/nonexistent")), nullptr);
    const std::unique_ptr<QTranslator> words = LoadQtTranslation();
    ASSERT_TRUE(words) << "Qt's translations (qt6-translations-l10n) are not installed";
    QCoreApplication::installTranslator(words.get());
    const QMessageBox box(QMessageBox::Information, Q("信息"), Q("x"), QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), Q("确定"));
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) entries << action->text();
    for (const char* word : {"撤消", "复制", "粘贴", "全选"}) {
        EXPECT_TRUE(entries.join(Q("|")).contains(Q(word))) << word << " in " << entries.join(Q("|")).toStdString();
    }
    QCoreApplication::removeTranslator(words.get());
}

// A double click on the splash: its first press closes the splash, its second must not press what
// lies below on the main window. A press after the double-click interval does.
TEST_F(MainWindowTest, SecondPressOfADoubleClickOnTheSplashGoesNowhere) {
    SplashWindow splash;
    QTimer::singleShot(0, [&] {
        if (auto* picture = splash.findChild<QWidget*>(Q("图片框1"))) QTest::mouseClick(picture, Qt::LeftButton);
        if (splash.isVisible()) splash.reject();
    });
    splash.exec();
    auto* pages = window->findChild<QStackedWidget*>(Q(controls::kPageContainer));
    Click(controls::kSettingsButton);
    EXPECT_EQ(pages->currentIndex(), 0);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    Click(controls::kSettingsButton);
    EXPECT_EQ(pages->currentIndex(), 1);
}

}  // namespace
}  // namespace qivara::test
