#include "FatalError.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "Encoding.h"
#include "Numbers.h"

namespace qivara {
namespace {

void PrintToStderr(const std::string& textCp936) {
    const std::string utf8 = Utf8FromCp936(textCp936);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

// Process-wide by nature: a fatal error on any thread ends the whole process.
std::atomic<FatalErrorHandler> g_handler{&PrintToStderr};

}  // namespace

std::string FatalErrorText(std::int32_t number, const std::string& messageUtf8) {
    std::string text = "运行时出错!\r\n\r\n";
    if (number != 0) text += "错误代码：" + NumberToText(std::int64_t{number}) + "\r\n\r\n";
    if (!messageUtf8.empty()) text += "错误信息：" + messageUtf8 + "\r\n";
    return Cp936FromUtf8(text);
}

void SetFatalErrorHandler(FatalErrorHandler handler) { g_handler.store(handler ? handler : &PrintToStderr); }

void RaiseFatalError(std::int32_t number, const std::string& messageUtf8) {
    g_handler.load()(FatalErrorText(number, messageUtf8));
    std::_Exit(-1);
}

}  // namespace qivara
