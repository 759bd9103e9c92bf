#pragma once

#include <cstdint>
#include <string>

#include "List.h"

namespace qivara {

// One formula of the equation with what the parser and the search learn about it.
struct Species {
    std::string Formula;                    // as written between its separators (code page 936)
    List<std::int32_t> ResultCoefficients;  // this species' coefficient in each recorded solution
    List<std::string> ElementSymbols;       // distinct symbols, in order of first appearance
    List<std::int32_t> ElementCounts;       // parallel to ElementSymbols; each fits 32 bits (parser)
    // Sum of ElementCounts. 64-bit because several counts of up to 2^31-1 can pass 32 bits.
    std::int64_t AtomTotal = 0;
    // The extended language's charge (an electron: -1); always 0 in the program's own language.
    std::int32_t Charge = 0;
};

}  // namespace qivara
