#pragma once
// The extended formula language, chosen by the user beside the program's own: ions and
// electrons, hydrates, nested brackets of three kinds, textbook reaction signs with conditions,
// marks (↑ ↓, states, Chinese remarks) and full-width or Unicode text. It reads UTF-8 and gives
// the equation's species with their display texts in UTF-8; positions count characters of what
// was typed, from 1.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qivara {

// Why an extended equation is refused; each has its own hint (ExtendedHintText).
enum class ExtendedHint {
    NoSign,                      // no reaction sign between the sides
    TwoSigns,                    // a second reaction sign
    EmptySide,                   // nothing on one side of the sign
    EmptySpecies,                // a plus that ends a side, or two pluses in a row
    EmptyFormula,                // a coefficient, count or mark with no formula
    AmbiguousMinus,              // a bare minus right after a digit (MnO4-)
    UnclosedBracket,             // a bracket never closed
    WrongBracket,                // a bracket closed by another kind, or a closing one never opened
    SmallLetterStart,            // a small letter where an element symbol starts
    ZeroCount,                   // a count of 0
    ChargeNotAtEnd,              // a charge before the end of its species
    SuperscriptWithoutSign,      // superscript digits that are no charge
    DigitBeforeSuperscriptSign,  // Cu2⁺: a count or a charge?
    HalfReactionMinus,           // Zn-2e⁻: electrons taken away with a minus
    ThermochemicalTail,          // ;ΔH=... after the equation
    NotASymbol,                  // a letter outside ASCII where a symbol is expected
    UnexpectedCharacter,         // any other character out of place
    CountTooLarge,               // a count or an element's total beyond 2^31-1
    NoElements,                  // a side that holds electrons only
};

// The hint in Chinese (UTF-8), one line, every character representable in code page 936, so the
// window's message box and the CLI show the same text.
std::string_view ExtendedHintText(ExtendedHint hint);

struct ExtendedError {
    std::int32_t position = 1;  // 1-based character of what was typed; 1 for an empty text
    ExtendedHint hint = ExtendedHint::UnexpectedCharacter;
};

struct ExtendedSpecies {
    std::string display;               // UTF-8, as the result shows it (no leading coefficient)
    std::vector<std::string> symbols;  // distinct element symbols, in order of first appearance
    std::vector<std::int32_t> counts;  // parallel to symbols, each from 1 to 2^31-1
    std::int32_t charge = 0;           // in elementary charges
    bool electron = false;             // e^-: no element, charge -1
};

struct ExtendedEquation {
    std::vector<ExtendedSpecies> reactants;
    std::vector<ExtendedSpecies> products;
    std::string sign;                // UTF-8, the reaction sign as typed with its condition
    std::vector<std::string> notes;  // UTF-8, Chinese: what was read but plays no part (coefficients)
};

std::variant<ExtendedEquation, ExtendedError> ParseExtendedEquation(std::string_view utf8);

}  // namespace qivara
