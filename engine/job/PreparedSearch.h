#pragma once
// A job's steps before the search, on texts instead of a window: where the job itself, the CLI,
// the tests and the benchmark all start.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "formula/ExtendedEquation.h"
#include "job/FinishJob.h"
#include "job/JobData.h"
#include "search/CoefficientSearch.h"

namespace qivara {

// The formula language a job reads. Standard is the program's own, on code page 936 text;
// Extended is the opt-in language of formula/ExtendedEquation.h, on UTF-8 text.
enum class FormulaSyntax { Standard, Extended };

struct PreparedSearch {
    JobData job;                     // the species, parsed, and the two limits as read
    SearchProblem problem;           // what the search runs on
    std::vector<std::string> notes;  // Extended only: what was read but ignored (UTF-8)
};

// Why an equation cannot reach the search, and for the extended language where and why it
// cannot be read (with Unrecognised only).
struct Refusal {
    FinishKind kind = FinishKind::Unrecognised;
    std::optional<ExtendedError> error;
};

// Splits `equation` into species, parses every formula, checks that both sides use the same
// elements and reads the two limit texts as the job reads the limit boxes (full-width digits
// fold, reading stops at the first non-digit, no digit gives 0, no range is enforced). An
// equation that cannot reach the search gives the kind its job ends with: Unrecognised or
// ElementsNotConserved, the first failure in that order. Texts are code page 936.
std::variant<PreparedSearch, FinishKind> PrepareSearch(std::string_view equation, std::string_view limitText,
                                                       std::string_view resultsText);

// PrepareSearch in the chosen language. Standard does exactly what the function above does.
// Extended reads `equation` as UTF-8 with ParseExtendedEquation; the species' Formula is their
// display text (UTF-8), JobData::ReactionSign the sign as typed, and the search conserves the
// charge too when any species is charged. Its element-set check compares elements only (an
// electron has none).
std::variant<PreparedSearch, Refusal> PrepareSearch(std::string_view equation, std::string_view limitText,
                                                    std::string_view resultsText, FormulaSyntax syntax);

}  // namespace qivara
