#pragma once

#include <cstdint>

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
};

}  // namespace qivara
