#include "job/ResultReport.h"

#include "Numbers.h"
#include "Text.h"
#include "job/FinishJob.h"
#include "job/MainWindowControls.h"

namespace qivara {
namespace {

constexpr std::string_view kUtf8FullWidthSpace = "\u3000";

// Replaces the last byte of `text` (always the ASCII separator just appended) by `with`.
void ReplaceLast(std::string& text, std::string_view with) {
    text.pop_back();
    text.append(with);
}

void AppendSide(std::string& text, const List<Species>& side, std::int32_t solution, DisplayMode mode) {
    for (const Species& species : side.Items()) {
        const std::int32_t coefficient = species.ResultCoefficients.ListAt(solution);
        if (mode == DisplayMode::BalancedEquation) {
            if (coefficient != 1) text += NumberToText(std::int64_t{coefficient});
            text += species.Formula;
            text += '+';
        } else {
            text += NumberToText(std::int64_t{coefficient});
            text += ',';
        }
    }
}

std::int32_t RecordedSolutions(const JobData& job) { return job.ReactantList.ListAt(1).ResultCoefficients.ListCount(); }

}  // namespace

std::string ResultText(const JobData& job, DisplayMode mode) {
    std::string text;
    const std::int32_t solutions = RecordedSolutions(job);
    for (std::int32_t k = 1; k <= solutions; ++k) {
        AppendSide(text, job.ReactantList, k, mode);
        if (mode == DisplayMode::BalancedEquation) ReplaceLast(text, job.ReactionSign);
        AppendSide(text, job.ProductList, k, mode);
        ReplaceLast(text, job.Utf8Text ? kUtf8FullWidthSpace : kFullWidthSpace);
    }
    // An extended display text never ends with a space (the language drops spaces).
    if (job.Utf8Text && text.ends_with(kUtf8FullWidthSpace)) text.resize(text.size() - kUtf8FullWidthSpace.size());
    return job.Utf8Text ? text : TrimTrailingSpaces(text);
}

FinishKind BuildResultText(WindowAccess& window, const JobData& job) {
    if (RecordedSolutions(job) == 0) return FinishKind::NoResult;
    const DisplayMode mode = window.ReadInteger(controls::kBalancedEquationRadio, Property::Selected) == 1
                                 ? DisplayMode::BalancedEquation
                                 : DisplayMode::CoefficientsOnly;
    window.WriteProperty(controls::kResultBox, Property::Content, ResultText(job, mode));
    return FinishKind::Summary;
}

}  // namespace qivara
