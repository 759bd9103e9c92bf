#pragma once
// The fatal runtime error as the desktop program shows it: a message box titled "错误" with the
// error icon and no owner, shown on the window's thread whatever thread raised the error.
//
// A worker that raises the error waits until the user has closed the box, and the window's
// thread may at that moment be waiting for that very worker to end (a window that closes joins
// its workers). Such a wait goes through WaitServingFatalErrors, which shows the worker's box
// itself, so neither thread waits for the other forever, whichever of the two waits first.

#include <functional>
#include <string>

namespace qivara::ui {

// Installs the box as the runtime's fatal error handler. Call once the QApplication exists.
void InstallFatalErrorBox();

// The handler: shows `textCp936` in the box and returns once the user has closed it. From a
// thread other than the window's it hands the box to the window's thread and waits: the window's
// event loop shows it, or WaitServingFatalErrors if the window's thread is waiting there.
void ShowFatalErrorBox(const std::string& textCp936);

// Window's thread: returns once `finished()` holds, showing meanwhile every fatal error box that
// another thread raises. `finished` is called with an internal lock held; it must only read
// state whose change is followed by WakeFatalErrorWait().
void WaitServingFatalErrors(const std::function<bool()>& finished);
// Any thread: `finished()` of a running WaitServingFatalErrors may have changed.
void WakeFatalErrorWait();

// Whether a box raised on another thread waits to be shown.
bool FatalErrorBoxPending();

}  // namespace qivara::ui
