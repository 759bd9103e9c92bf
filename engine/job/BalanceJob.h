#pragma once
// One balancing, from the equation box to the closing message.

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "PropertyAccess.h"
#include "job/FinishJob.h"
#include "job/PreparedSearch.h"
#include "search/CoefficientSearch.h"

namespace qivara {

struct JobOptions {
    SearchEngine engine = kDefaultSearchEngine;
    std::stop_token stop;         // polled between examined vectors and before every window access
    ExaminedObserver onExamined;  // optional trace of the reference enumeration
    // Extended: the job reads the extended language, and the equation box and the result box
    // hold UTF-8 text (the language and its output reach beyond code page 936); the front end
    // that chooses it converts those two boxes accordingly. Every other text, the limit boxes
    // and the closing messages included, stays code page 936 either way.
    FormulaSyntax syntax = FormulaSyntax::Standard;
};

struct JobOutcome {
    FinishKind kind = FinishKind::Stopped;
    std::vector<CoefficientVector> solutions;  // the recorded vectors, reactants first
    std::optional<ExtendedError> syntaxError;  // Extended, Unrecognised: where and why
    std::vector<std::string> notes;            // Extended: what was read but ignored (UTF-8)
};

// Reads the equation and limit boxes, prepares the search (PreparedSearch.h), searches, writes
// the result box and ends through FinishJob, all through `window`; the kind it ends with is
// decided here alone.
// The job owns all its data. A stopped job returns Stopped at its next poll and neither writes
// to the window nor shows anything after that; restoring the idle window is then the stopper's
// business (FinishJob with Stopped on the window's side).
JobOutcome BalanceJob(WindowAccess& window, const JobOptions& options);

}  // namespace qivara
