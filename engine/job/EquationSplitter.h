#pragma once
// Cutting the equation text into sides and species, and the element-set check of the two sides.

#include <string>
#include <string_view>
#include <vector>

#include "job/JobData.h"

namespace qivara {

// Splits `equation` at the first "=" (a second "=" ends the right side; the rest is ignored),
// each side at "+", and appends one Species per species text to job.ReactantList and
// job.ProductList. Returns false for an unrecognisable equation: not two non-empty sides, unequal
// numbers of "(" and ")" in the whole text, or an empty species. Species appended before the
// failure stay in the lists.
bool SplitEquation(std::string_view equation, JobData& job);

// The distinct element symbols of a parsed side, in first-seen order.
std::vector<std::string> SideElements(const List<Species>& side);

// True when both sides, already parsed, use the same set of element symbols.
bool ElementsConserved(const JobData& job);

}  // namespace qivara
