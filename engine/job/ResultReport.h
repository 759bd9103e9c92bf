#pragma once
// The result text and the last stage of a job that passed validation.

#include <string>

#include "PropertyAccess.h"
#include "job/FinishJob.h"
#include "job/JobData.h"

namespace qivara {

enum class DisplayMode { BalancedEquation, CoefficientsOnly };

// The recorded solutions as text, separated by full-width spaces, none after the last:
// BalancedEquation writes 2H2+O2=2H2O (no coefficient text for 1), CoefficientsOnly 2,1,2
// (reactants' then products' coefficients).
std::string ResultText(const JobData& job, DisplayMode mode);

// The last stage of a job that reached the search: with no solution recorded it writes nothing
// and gives NoResult; otherwise it reads the display mode from the window now (after the
// search), writes the whole result text in one write and gives Summary. The caller ends the job
// with that kind.
FinishKind BuildResultText(WindowAccess& window, const JobData& job);

}  // namespace qivara
