#pragma once
// One equation through a job on a headless window, and how the CLI writes what came of it.

#include <string>

#include "CliOptions.h"
#include "job/BalanceJob.h"

namespace qivara::cli {

struct EquationReport {
    std::string equation;  // as given (UTF-8)
    JobOutcome outcome;
    std::string title;  // UTF-8; empty when no message box was shown
    std::int32_t icon = 0;
    std::string message;    // UTF-8, the full closing message
    std::string result;     // UTF-8, the result box's content
    bool extended = false;  // read in the extended language: the JSON tells where and why, and notes
    bool timedOut = false;  // --timeout stopped the job
};

// With options.timeoutSeconds > 0 a timer thread requests a stop on the job's stop token when the
// time is up; the search polls it, so the job ends Stopped at once (timedOut is then set).
EquationReport RunEquation(const std::string& equationUtf8, const CliOptions& options);

const char* KindName(FinishKind kind);

// The report as one JSON object on one line, without the line break. In the extended language a
// refusal that tells where adds error_position and error_hint, and a result adds notes.
std::string JsonLine(const EquationReport& report);

}  // namespace qivara::cli
