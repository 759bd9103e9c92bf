#pragma once
// One species of the extended language: the step of ParseExtendedEquation after the sign and the
// separators have been found.

#include <optional>
#include <string>
#include <vector>

#include "formula/ExtendedEquation.h"
#include "formula/ExtendedText.h"

namespace qivara::extended {

// Reads chars[begin, end) (not empty) as one species into `species`; a leading coefficient adds a
// note. nullopt when read, else the refusal.
std::optional<ExtendedError> ParseSpecies(const std::vector<TextChar>& chars, std::size_t begin, std::size_t end,
                                          ExtendedSpecies& species, std::vector<std::string>& notes);

inline bool IsOpenBracket(const TextChar& c) { return c.code == U'(' || c.code == U'[' || c.code == U'{'; }
inline bool IsCloseBracket(const TextChar& c) { return c.code == U')' || c.code == U']' || c.code == U'}'; }
inline bool IsPlainDigit(const TextChar& c) { return c.script == Script::Normal && c.code >= U'0' && c.code <= U'9'; }
inline bool IsPlain(const TextChar& c, char32_t code) { return c.script == Script::Normal && c.code == code; }
inline ExtendedError ErrorAt(const TextChar& c, ExtendedHint hint) { return ExtendedError{c.position, hint}; }

}  // namespace qivara::extended
