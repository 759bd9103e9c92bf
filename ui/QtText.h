#pragma once
// The one meeting point of Qt text and engine text (code page 936 bytes). Every QString that
// reaches the engine, and every engine text that reaches a widget, passes through here.

#include <QString>
#include <string>
#include <string_view>

namespace qivara::ui {

QString QStringFromCp936(std::string_view cp936);
std::string Cp936FromQString(const QString& text);

// The number of code page 936 bytes `text` takes: 1 for ASCII, 2 for a double-byte character,
// 1 for a character the code page cannot hold (it becomes "?").
int Cp936Length(const QString& text);

// The extended language's equation and result boxes carry UTF-8 instead (JobOptions::syntax).
QString QStringFromUtf8(std::string_view utf8);
std::string Utf8FromQString(const QString& text);

}  // namespace qivara::ui
