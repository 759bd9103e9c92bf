#include "Program.h"

#include <QApplication>
#include <QIcon>

#include "FatalErrorBox.h"
#include "MainWindow.h"
#include "Pictures.h"
#include "QtTranslation.h"
#include "SplashWindow.h"

namespace qivara::ui {

int RunProgram(QApplication& application) {
    InstallFatalErrorBox();
    const std::unique_ptr<QTranslator> qtWords = LoadQtTranslation();
    if (qtWords) application.installTranslator(qtWords.get());
    application.setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
    QGuiApplication::setDesktopFileName(QStringLiteral("qivara-balancer"));

    MainWindow window;
    window.show();
    SplashWindow splash;
    splash.exec();
    return application.exec();
}

}  // namespace qivara::ui
