#pragma once

class QApplication;

namespace qivara::ui {

// The program's course: the main window, the splash over it until its picture is clicked, then
// the event loop until the main window is closed. Returns the exit status.
int RunProgram(QApplication& application);

}  // namespace qivara::ui
