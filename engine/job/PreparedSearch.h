#pragma once
// A job's steps before the search, on texts instead of a window: where the job itself, the CLI,
// the tests and the benchmark all start.

#include <string_view>
#include <variant>

#include "job/FinishJob.h"
#include "job/JobData.h"
#include "search/CoefficientSearch.h"

namespace qivara {

struct PreparedSearch {
    JobData job;            // the species, parsed, and the two limits as read
    SearchProblem problem;  // what the search runs on
};

// Splits `equation` into species, parses every formula, checks that both sides use the same
// elements and reads the two limit texts as the job reads the limit boxes (full-width digits
// fold, reading stops at the first non-digit, no digit gives 0, no range is enforced). An
// equation that cannot reach the search gives the kind its job ends with: Unrecognised or
// ElementsNotConserved, the first failure in that order. Texts are code page 936.
std::variant<PreparedSearch, FinishKind> PrepareSearch(std::string_view equation, std::string_view limitText,
                                                       std::string_view resultsText);

}  // namespace qivara
