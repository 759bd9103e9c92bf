// The page's way into the engine: one equation through the CLI's own path (a job on a headless
// window, RunEquation), answered as the CLI's JSON line, so the page and the CLI cannot disagree.

#include <algorithm>
#include <string>

#include "CliOptions.h"
#include "Encoding.h"
#include "Numbers.h"
#include "RunEquation.h"

namespace {

// Bits of the `flags` argument.
constexpr int kCoefficientsOnly = 1;  // the display mode "只显示配平系数"
constexpr int kExtendedSyntax = 2;    // the check box "扩展语法": the extended formula language

}  // namespace

extern "C" {

// Balances `equation` with the two limit boxes' texts, all UTF-8 C strings, and returns the CLI's
// --json line for it (UTF-8). The text belongs to the entry and stays valid until the next call.
const char* qivara_balance(const char* equation, const char* limitText, const char* resultsText, int flags) {
    static std::string answer;
    qivara::cli::CliOptions options;
    options.limitText = limitText;
    options.resultsText = resultsText;
    options.coefficientsOnly = (flags & kCoefficientsOnly) != 0;
    if ((flags & kExtendedSyntax) != 0) options.syntax = qivara::FormulaSyntax::Extended;
    answer = qivara::cli::JsonLine(qivara::cli::RunEquation(equation, options));
    return answer.c_str();
}

// A limit box's text forced into [lowest, highest] when the box loses focus, read as the job reads
// it (full-width digits fold, no digit gives 0): the window's clamp. UTF-8 in and out, valid until
// the next call.
const char* qivara_clamp_limit(const char* text, int lowest, int highest) {
    static std::string clamped;
    const std::int32_t value = qivara::TextToInteger(qivara::Cp936FromUtf8(text));
    clamped = qivara::NumberToText(static_cast<std::int64_t>(std::clamp<std::int32_t>(value, lowest, highest)));
    return clamped.c_str();
}

}  // extern "C"
