#pragma once
// The result text and the last stage of a job that passed validation.

#include <string>

#include "JobData.h"
#include "PropertyAccess.h"

namespace qivara {

enum class DisplayMode { BalancedEquation, CoefficientsOnly };

// The recorded solutions as text, separated by full-width spaces, none after the last:
// BalancedEquation writes 2H2+O2=2H2O (no coefficient text for 1), CoefficientsOnly 2,1,2
// (reactants' then products' coefficients).
std::string ResultText(const JobData& job, DisplayMode mode);

// Ends the job: with no solution recorded, the no-result message; otherwise reads the display
// mode from the window now (after the search), writes the whole result text in one write and
// shows the summary.
void BuildResultText(WindowAccess& window, const JobData& job);

}  // namespace qivara
