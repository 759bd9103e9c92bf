#pragma once
// One balancing, from the equation box to the closing message.

#include <stop_token>
#include <vector>

#include "PropertyAccess.h"
#include "job/FinishJob.h"
#include "search/CoefficientSearch.h"

namespace qivara {

struct JobOptions {
    SearchEngine engine = kDefaultSearchEngine;
    std::stop_token stop;         // polled between examined vectors and before every window access
    ExaminedObserver onExamined;  // optional trace of the reference enumeration
};

struct JobOutcome {
    FinishKind kind = FinishKind::Stopped;
    std::vector<CoefficientVector> solutions;  // the recorded vectors, reactants first
};

// Reads the equation and limit boxes, prepares the search (PreparedSearch.h), searches, writes
// the result box and ends through FinishJob, all through `window`; the kind it ends with is
// decided here alone.
// The job owns all its data. A stopped job returns Stopped at its next poll and neither writes
// to the window nor shows anything after that; restoring the idle window is then the stopper's
// business (FinishJob with Stopped on the window's side).
JobOutcome BalanceJob(WindowAccess& window, const JobOptions& options);

}  // namespace qivara
