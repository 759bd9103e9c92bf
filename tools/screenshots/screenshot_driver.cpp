// Goes through the program as a user would, on the X server named by DISPLAY, and has
// ImageMagick's `import` capture the screen at each stop:
//   1-splash.png, 2-closing-message.png, 3-main-result.png, 4-settings.png, 5-usage.png
//
// usage: qivara-screenshot-driver OUTPUT-FOLDER

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "MainWindow.h"
#include "MainWindowControls.h"
#include "Pictures.h"
#include "SplashWindow.h"

namespace {

QString g_folder;
bool g_ok = true;

void Capture(const char* name) {
    QTest::qWait(700);  // let the windows paint and the animation move on
    const QString path = QDir(g_folder).filePath(QString::fromLatin1(name));
    const int status =
        QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    std::printf("%s %s\n", status == 0 ? "wrote" : "FAILED", qPrintable(path));
    g_ok = g_ok && status == 0;
}

template <typename Widget>
Widget* Find(const QWidget& window, std::string_view name) {
    return window.findChild<Widget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void Click(QWidget* widget) {
    if (widget) QTest::mouseClick(widget, Qt::LeftButton);
}

// While a modal window is open: capture it, then close it (its OK button when it has one).
void CaptureModalThenClose(const char* name) {
    QTimer::singleShot(300, [name] {
        Capture(name);
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Click(box->button(QMessageBox::Ok));
        } else if (modal) {
            modal->close();
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    application.setWindowIcon(QIcon(QString::fromLatin1(qivara::ui::kIconResource)));
    g_folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_folder);
    using namespace qivara;

    ui::MainWindow window;
    window.show();
    ui::SplashWindow splash;
    splash.open();
    g_ok = QTest::qWaitForWindowExposed(&splash) && g_ok;
    Capture("1-splash.png");
    Click(&splash.Picture());
    QTest::qWait(200);

    auto* equation = Find<QLineEdit>(window, controls::kEquationBox);
    window.activateWindow();
    g_ok = QTest::qWaitForWindowActive(&window) && g_ok;
    equation->setFocus();
    QTest::keyClicks(equation, QStringLiteral("MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O"));
    auto* start = Find<QPushButton>(window, controls::kStartStopButton);
    Click(start);  // relabels only
    CaptureModalThenClose("2-closing-message.png");
    Click(start);
    g_ok = QTest::qWaitFor([&] { return !window.JobRunning(); }, 60000) && g_ok;
    Capture("3-main-result.png");

    Click(Find<QPushButton>(window, controls::kSettingsButton));
    Capture("4-settings.png");
    Click(Find<QPushButton>(window, controls::kSettingsButton));

    CaptureModalThenClose("5-usage.png");
    Click(Find<QPushButton>(window, controls::kUsageButton));
    window.close();
    return g_ok ? 0 : 1;
}
