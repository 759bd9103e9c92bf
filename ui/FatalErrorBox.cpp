#include "FatalErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "FatalError.h"
#include "QtText.h"

namespace qivara::ui {
namespace {

void ShowFatalError(const std::string& textCp936) {
    QString text = QStringFromCp936(textCp936);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto show = [text] {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) {
        show();
    } else {
        // The process ends when the handler returns: wait until the user has read the box.
        QMetaObject::invokeMethod(application, show, Qt::BlockingQueuedConnection);
    }
}

}  // namespace

void InstallFatalErrorBox() { SetFatalErrorHandler(&ShowFatalError); }

}  // namespace qivara::ui
