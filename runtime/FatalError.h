#pragma once
// The fatal runtime error: an internal fault (a list position out of range, a remainder by zero)
// that ends the whole process with exit status -1, after the front end has shown its text.

#include <cstdint>
#include <string>

namespace qivara {

// Error numbers and their messages:
//   1 "数组成员引用下标超出定义范围"  ListAt with a position above the element count
//   4 "数组成员引用下标必须大于等于1"  ListAt with a position below 1
//   0 "不能求余数于零"                RealRemainder with a divisor of 0
inline constexpr std::int32_t kErrorListAboveCount = 1;
inline constexpr std::int32_t kErrorListBelowOne = 4;

// The message box text, code page 936: "运行时出错!" CR LF CR LF, then "错误代码：" number CR LF CR LF
// unless the number is 0, then "错误信息：" message CR LF unless the message is empty.
// `messageUtf8` is UTF-8 (the messages above are written in the sources).
std::string FatalErrorText(std::int32_t number, const std::string& messageUtf8);

// Shows the text (code page 936) to the user. Called once; the process ends when it returns.
using FatalErrorHandler = void (*)(const std::string& textCp936);

// Installs the front end's way of showing a fatal error (the CLI prints it to stderr, the GUI
// shows a message box). Without one the text goes to stderr as UTF-8.
void SetFatalErrorHandler(FatalErrorHandler handler);

// Shows the error through the installed handler and ends the process with status -1 (255 as
// seen by a shell). No exit routine runs.
[[noreturn]] void RaiseFatalError(std::int32_t number, const std::string& messageUtf8);

}  // namespace qivara
