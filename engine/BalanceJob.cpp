#include "BalanceJob.h"

#include "EquationSplitter.h"
#include "FormulaParser.h"
#include "MainWindowControls.h"
#include "Numbers.h"
#include "ResultReport.h"
#include "StopCheckedWindow.h"

namespace qivara {
namespace {

bool ParseSide(List<Species>& side) {
    for (Species& species : side.Items()) {
        if (!ParseFormula(species)) return false;
    }
    return true;
}

// Steps 1..8 of a job; returns the kind it finished with.
FinishKind RunJob(WindowAccess& window, const JobOptions& options, JobData& job, JobOutcome& outcome) {
    const std::string equation = window.ReadText(controls::kEquationBox, Property::Content);
    if (!SplitEquation(equation, job)) {
        FinishJob(window, FinishKind::Unrecognised);
        return FinishKind::Unrecognised;
    }
    job.ReactantCount = job.ReactantList.ListCount();
    job.ProductCount = job.ProductList.ListCount();
    if (!ParseSide(job.ReactantList) || !ParseSide(job.ProductList)) {
        FinishJob(window, FinishKind::Unrecognised);
        return FinishKind::Unrecognised;
    }
    if (!ElementsConserved(job)) {
        FinishJob(window, FinishKind::ElementsNotConserved);
        return FinishKind::ElementsNotConserved;
    }
    job.CoefficientLimit = TextToInteger(window.ReadText(controls::kCoefficientLimitBox, Property::Content));
    job.ResultLimit = TextToInteger(window.ReadText(controls::kResultLimitBox, Property::Content));

    SearchResult found =
        RunCoefficientSearch(options.engine, MakeSearchProblem(job), SearchControl{options.stop, options.onExamined});
    if (found.stopped) return FinishKind::Stopped;
    for (const CoefficientVector& solution : found.solutions) {
        std::size_t k = 0;
        for (Species& species : job.ReactantList.Items())
            species.ResultCoefficients.ListAppend(static_cast<std::int32_t>(solution[k++]));
        for (Species& species : job.ProductList.Items())
            species.ResultCoefficients.ListAppend(static_cast<std::int32_t>(solution[k++]));
    }
    outcome.solutions = std::move(found.solutions);

    BuildResultText(window, job);
    return outcome.solutions.empty() ? FinishKind::NoResult : FinishKind::Summary;
}

}  // namespace

JobOutcome BalanceJob(WindowAccess& window, const JobOptions& options) {
    StopCheckedWindow checked(window, options.stop);
    JobData job;
    JobOutcome outcome;
    try {
        outcome.kind = RunJob(checked, options, job, outcome);
    } catch (const JobStopped&) {
        outcome = JobOutcome{};
    }
    return outcome;
}

}  // namespace qivara
