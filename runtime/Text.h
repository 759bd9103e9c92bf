#pragma once
// Byte-text primitives. Text is code-page-936 bytes in a std::string: a byte of 0x80 or above
// starts a double-byte character and the byte after it is its second byte. Positions count
// bytes from 1; "not found" is -1; out-of-range requests give empty results, never errors.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qivara {

// The full-width space, the separator of the result text.
inline constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

std::int32_t TextLength(std::string_view text);

// The first n bytes (n <= 0 gives the empty text). The cut may split a double-byte character.
std::string TextLeft(std::string_view text, std::int64_t n);

// n bytes from byte position start (from 1); empty when start is outside the text or n <= 0.
std::string TextMid(std::string_view text, std::int64_t start, std::int64_t n);

// Position (from 1, in the whole text) of the first match of `sought` at or after `start`, or -1.
// The scan steps over double-byte characters, so a match never begins on a second byte unless
// `start` points there. An empty `sought` gives 1 (not `start`) when any byte is left to search.
// ignoreCase == 1 folds the ASCII letters only; any other value compares bytes exactly.
std::int32_t TextFind(std::string_view text, std::string_view sought, std::int64_t start = 1, int ignoreCase = 0);

// Replaces at most `countLimit` occurrences (-1: all) of `sought`, scanning by characters.
std::string TextReplace(std::string_view text, std::string_view sought, std::string_view replacement,
                        std::int64_t countLimit, bool caseSensitive);

// Splits at `separator` into at most `pieceLimit` pieces. Every separator ends a piece (empty
// pieces included); scanning stops once the limit-th piece is ended; the unscanned rest becomes
// one more piece only when it is not empty and the limit is not reached.
std::vector<std::string> TextSplit(std::string_view text, std::string_view separator, std::int64_t pieceLimit);

// Removes trailing ASCII spaces and full-width spaces, and a lone first byte at the very end.
std::string TrimTrailingSpaces(std::string_view text);

// The one-byte text of the low 8 bits of `code`; code 0 gives the empty text.
std::string CharFromCode(std::int32_t code);

// Unsigned byte comparison: negative, 0 or positive.
int TextCompare(std::string_view a, std::string_view b);

// Number of matches of `sought` (never empty): after a match at p the search resumes at p + 1,
// so overlapping matches all count.
std::int32_t CountOccurrences(std::string_view text, std::string_view sought);

}  // namespace qivara
