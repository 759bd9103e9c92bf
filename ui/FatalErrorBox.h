#pragma once
// The fatal runtime error as the desktop program shows it: a message box titled "错误" with the
// error icon and no owner, shown on the window's thread whatever thread raised the error.

namespace qivara::ui {

// Installs the box as the runtime's fatal error handler. Call once the QApplication exists.
void InstallFatalErrorBox();

}  // namespace qivara::ui
