#include "job/FinishJob.h"

#include "Encoding.h"
#include "Numbers.h"
#include "Text.h"
#include "job/MainWindowControls.h"
#include "job/MakerAddress.h"

namespace qivara {
namespace {

// The full-width spaces of a UTF-8 text (CountOccurrences walks code page 936 characters).
std::int64_t Utf8Separators(std::string_view text) {
    constexpr std::string_view kSeparator = "\u3000";
    std::int64_t count = 0;
    for (std::size_t at = text.find(kSeparator); at != std::string_view::npos; at = text.find(kSeparator, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

std::optional<ClosingMessage> ClosingMessageFor(FinishKind kind, std::string_view resultText) {
    return ClosingMessageFor(kind, resultText, FinishDetails{});
}

std::optional<ClosingMessage> ClosingMessageFor(FinishKind kind, std::string_view resultText,
                                                const FinishDetails& details) {
    switch (kind) {
        case FinishKind::Stopped:
            return std::nullopt;
        case FinishKind::Unrecognised: {
            std::string message = "无法识别待配平方程式！";
            if (const auto& error = details.syntaxError) {
                message += "\r\n第" + NumberToText(std::int64_t{error->position}) + "个字符：";
                message += ExtendedHintText(error->hint);
            }
            return ClosingMessage{Cp936FromUtf8(message), Cp936FromUtf8("错误"), kIconError};
        }
        case FinishKind::ElementsNotConserved:
            return ClosingMessage{Cp936FromUtf8("元素种类不守恒！"), Cp936FromUtf8("警告"), kIconWarning};
        case FinishKind::NoResult:
            return ClosingMessage{Cp936FromUtf8("处理完毕，没有找到配平结果。\r\n可以尝试设置更高的系数上限。"),
                                  Cp936FromUtf8("信息"), kIconInformation};
        case FinishKind::Summary:
        default:
            break;
    }
    const std::int64_t results = (details.utf8Result ? Utf8Separators(resultText)
                                                     : std::int64_t{CountOccurrences(resultText, kFullWidthSpace)}) +
                                 1;
    const std::string message = "Qivara配平器以替您处理完毕，共有" + NumberToText(results) +
                                "种配平结果，感谢您使用Qivara科技软件,更多应用型软件请访问Qivara科技" +
                                std::string(kMakerAddress) + "。";
    return ClosingMessage{Cp936FromUtf8(message), Cp936FromUtf8("信息"), kIconInformation};
}

void FinishJob(WindowAccess& window, FinishKind kind) { FinishJob(window, kind, FinishDetails{}); }

void FinishJob(WindowAccess& window, FinishKind kind, const FinishDetails& details) {
    if (kind != FinishKind::Stopped) {
        // Only the summary reads the result box: it counts the results shown there.
        const auto value = static_cast<std::int32_t>(kind);
        const bool summary = value < 0 || value > static_cast<std::int32_t>(FinishKind::NoResult);
        const std::string resultText =
            summary ? window.ReadText(controls::kResultBox, Property::Content) : std::string();
        const std::optional<ClosingMessage> closing = ClosingMessageFor(kind, resultText, details);
        window.ShowMessageBox(closing->message, closing->title, closing->icon);
    }
    window.WriteProperty(controls::kSettingsButton, Property::Disabled, 0);
    window.WriteProperty(controls::kEquationBox, Property::InputMode, kInputNormal);
    window.WriteProperty(controls::kStartStopButton, Property::Caption, Cp936FromUtf8(controls::kStartCaption));
    window.WriteProperty(controls::kStartStopButton, Property::ButtonType, 1);
}

}  // namespace qivara
