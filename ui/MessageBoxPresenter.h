#pragma once
// How a job's closing message box reaches the user. The window shows it through a presenter so
// that tests can read the box instead of clicking a real one.

#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <functional>

namespace qivara::ui {

// Called on the window's thread; returns when the user has closed the box. `owner` is the main
// window. `message` is the job's text as given (line breaks as CR LF).
using MessageBoxPresenter =
    std::function<void(QWidget& owner, const QString& message, const QString& title, QMessageBox::Icon icon)>;

// 16 error, 48 warning, 64 information; any other style shows no icon.
QMessageBox::Icon IconForStyle(std::int32_t style);

// A modal QMessageBox owned by `owner`, with a single OK button.
void ShowModalMessageBox(QWidget& owner, const QString& message, const QString& title, QMessageBox::Icon icon);

}  // namespace qivara::ui
