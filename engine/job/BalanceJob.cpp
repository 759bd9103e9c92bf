#include "job/BalanceJob.h"

#include "job/MainWindowControls.h"
#include "job/PreparedSearch.h"
#include "job/ResultReport.h"
#include "job/StopCheckedWindow.h"

namespace qivara {
namespace {

// Solution k becomes entry k of every species' ResultCoefficients, reactants first.
void RecordSolutions(JobData& job, const std::vector<CoefficientVector>& solutions) {
    for (const CoefficientVector& solution : solutions) {
        std::size_t k = 0;
        for (List<Species>* side : {&job.ReactantList, &job.ProductList}) {
            for (Species& species : side->Items()) {
                species.ResultCoefficients.ListAppend(static_cast<std::int32_t>(solution[k++]));
            }
        }
    }
}

// Everything of a job before its ending; returns the kind it ends with.
FinishKind RunJob(WindowAccess& window, const JobOptions& options, JobOutcome& outcome) {
    // The limit boxes lie on the settings page, which cannot be shown while a job runs, so they
    // hold now what they would hold right before the search.
    const std::string equation = window.ReadText(controls::kEquationBox, Property::Content);
    const std::string limitText = window.ReadText(controls::kCoefficientLimitBox, Property::Content);
    const std::string resultsText = window.ReadText(controls::kResultLimitBox, Property::Content);
    std::variant<PreparedSearch, Refusal> prepared = PrepareSearch(equation, limitText, resultsText, options.syntax);
    if (const Refusal* refused = std::get_if<Refusal>(&prepared)) {
        outcome.syntaxError = refused->error;
        return refused->kind;
    }
    PreparedSearch& search = std::get<PreparedSearch>(prepared);
    outcome.notes = search.notes;

    SearchResult found =
        RunCoefficientSearch(options.engine, search.problem, SearchControl{options.stop, options.onExamined});
    if (found.stopped) return FinishKind::Stopped;
    RecordSolutions(search.job, found.solutions);
    outcome.solutions = std::move(found.solutions);
    return BuildResultText(window, search.job);
}

}  // namespace

JobOutcome BalanceJob(WindowAccess& window, const JobOptions& options) {
    StopCheckedWindow checked(window, options.stop);
    JobOutcome outcome;
    try {
        outcome.kind = RunJob(checked, options, outcome);
        const FinishDetails details{options.syntax == FormulaSyntax::Extended, outcome.syntaxError};
        if (outcome.kind != FinishKind::Stopped) FinishJob(checked, outcome.kind, details);
    } catch (const JobStopped&) {
        outcome = JobOutcome{};
    }
    return outcome;
}

}  // namespace qivara
