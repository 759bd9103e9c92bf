#include "RunEquation.h"

#include <stop_token>

#include "Encoding.h"
#include "JobTimeout.h"
#include "JsonText.h"
#include "job/HeadlessWindow.h"
#include "job/MainWindowControls.h"

namespace qivara::cli {

EquationReport RunEquation(const std::string& equationUtf8, const CliOptions& options) {
    // The extended language's job keeps the equation and result boxes in UTF-8 (JobOptions).
    const bool extended = options.syntax == FormulaSyntax::Extended;
    HeadlessWindow window(extended ? equationUtf8 : Cp936FromUtf8(equationUtf8), Cp936FromUtf8(options.limitText),
                          Cp936FromUtf8(options.resultsText));
    if (options.coefficientsOnly) window.WriteProperty(controls::kCoefficientsOnlyRadio, Property::Selected, 1);

    EquationReport report;
    report.equation = equationUtf8;
    report.extended = extended;
    std::stop_source stop;
    {
        const JobTimeout timeout(options.timeoutSeconds, stop);
        report.outcome = BalanceJob(window, JobOptions{options.engine, stop.get_token(), {}, options.syntax});
        report.timedOut = timeout.Expired();
    }
    report.timedOut = report.timedOut && report.outcome.kind == FinishKind::Stopped;
    if (!window.MessageBoxes().empty()) {
        const HeadlessWindow::MessageBox& box = window.MessageBoxes().back();
        report.title = Utf8FromCp936(box.title);
        report.icon = box.style;
        report.message = Utf8FromCp936(box.message);
    }
    const std::string result = window.ReadText(controls::kResultBox, Property::Content);
    report.result = extended ? result : Utf8FromCp936(result);
    return report;
}

const char* KindName(FinishKind kind) {
    switch (kind) {
        case FinishKind::Stopped:
            return "Stopped";
        case FinishKind::Unrecognised:
            return "Unrecognised";
        case FinishKind::ElementsNotConserved:
            return "ElementsNotConserved";
        case FinishKind::NoResult:
            return "NoResult";
        case FinishKind::Summary:
            return "Summary";
    }
    return "Summary";
}

std::string JsonLine(const EquationReport& report) {
    std::string line = "{\"equation\":" + JsonString(report.equation);
    line += ",\"kind\":" + JsonString(KindName(report.outcome.kind));
    line += ",\"kind_value\":" + std::to_string(static_cast<int>(report.outcome.kind));
    line += ",\"title\":" + JsonString(report.title);
    line += ",\"icon\":" + std::to_string(report.icon);
    line += ",\"message\":" + JsonString(report.message);
    line += ",\"result\":" + JsonString(report.result);
    line += ",\"solutions\":[";
    for (std::size_t s = 0; s < report.outcome.solutions.size(); ++s) {
        if (s > 0) line += ',';
        line += '[';
        const CoefficientVector& solution = report.outcome.solutions[s];
        for (std::size_t k = 0; k < solution.size(); ++k) {
            if (k > 0) line += ',';
            line += std::to_string(solution[k]);
        }
        line += ']';
    }
    line += ']';
    if (report.extended) {
        if (const auto& error = report.outcome.syntaxError) {
            line += ",\"error_position\":" + std::to_string(error->position);
            line += ",\"error_hint\":" + JsonString(ExtendedHintText(error->hint));
        }
        if (report.outcome.kind == FinishKind::Summary) {
            line += ",\"notes\":[";
            for (std::size_t k = 0; k < report.outcome.notes.size(); ++k) {
                if (k > 0) line += ',';
                line += JsonString(report.outcome.notes[k]);
            }
            line += ']';
        }
    }
    line += '}';
    return line;
}

}  // namespace qivara::cli
