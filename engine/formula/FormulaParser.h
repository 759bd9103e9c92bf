#pragma once
// The formula language: element symbols (a capital, optionally one small letter), each with an
// optional decimal count, and parenthesised groups that are never nested and always carry a
// decimal multiplier. Any capital or capital + small letter is a symbol; no element table.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/Species.h"

namespace qivara {

// Fills ElementSymbols, ElementCounts and AtomTotal from Formula and empties ResultCoefficients.
// Returns false when the formula is rejected; the job then ends as unrecognised. Counts,
// multipliers and accumulated element counts beyond 2^31-1 are rejected too.
bool ParseFormula(Species& species);

// ParseFormula without writing out the copies the group expansion appends: the rest of the
// expanded text is scanned, and each copied content once, its counts taken once per copy. It
// decides only when that provably gives what the scan of the whole expanded text gives, and
// answers NeedsCopies when a copy could join what precedes it (a copied content that starts with
// a small letter or a digit, as in H2(3)2). Parsed and Rejected leave the species as ParseFormula
// does.
enum class ShortcutParse { Parsed, Rejected, NeedsCopies };
ShortcutParse ParseFormulaWithoutCopies(Species& species);

// The group expansion on its own: each pass writes the first group out as plain text by
// appending multiplier - 1 copies of its content to the end and deleting its "(" and ")"
// followed by the multiplier's decimal rendering. So C(l)1 gives Cl, (N)2a gives NaN and
// H2(3)2 gives H233. nullopt when the formula is rejected; a formula holding any byte other than
// letters, digits and parentheses is rejected here already, since the symbol scan would reject it.
std::optional<std::string> ExpandGroups(std::string_view formula);

// The text between the first `open` and the first `close` that starts at or after the end of
// that `open`; empty when either is missing.
std::string TextBetween(std::string_view text, std::string_view open, std::string_view close);

// The codes of `symbols`, largest first.
std::vector<std::int32_t> SortedElementCodes(const std::vector<std::string>& symbols);

}  // namespace qivara
