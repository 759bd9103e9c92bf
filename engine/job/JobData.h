#pragma once

#include <cstdint>
#include <string>

#include "List.h"
#include "formula/Species.h"

namespace qivara {

// Everything one balancing job builds. Each job owns its own, so a stopped job that is still
// unwinding on its thread shares nothing with the next one.
struct JobData {
    List<Species> ReactantList;  // left of "=", in written order
    List<Species> ProductList;   // right of "=", in written order
    std::int32_t ReactantCount = 0;
    std::int32_t ProductCount = 0;
    std::int32_t CoefficientLimit = 0;  // as read from the coefficient-limit box, unchecked
    std::int32_t ResultLimit = 0;       // as read from the result-limit box, unchecked
    // What the result shows between the sides: "=", or the extended language's sign as typed.
    std::string ReactionSign = "=";
    // The extended language: Formula, ReactionSign and the result text are UTF-8, whose results
    // are separated by a UTF-8 full-width space.
    bool Utf8Text = false;
};

}  // namespace qivara
