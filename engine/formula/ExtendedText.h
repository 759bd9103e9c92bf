#pragma once
// The first step of the extended formula language: typed UTF-8 text as a sequence of characters,
// each folded to the form the parser reads, kept in the form the output shows and tied to its
// position in what was typed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qivara::extended {

enum class Script : std::uint8_t { Normal, Subscript, Superscript };

// The hydrate dot: every dot form (· • ∙ ⋅ ・) reads as this code.
inline constexpr char32_t kHydrateDot = U'\u00B7';

struct TextChar {
    // What the parser reads: full-width ASCII forms as ASCII, sub- and superscript digits as
    // '0'..'9', superscript signs as '+' and '-' (told apart by `script`), the minus forms as '-',
    // the dot forms as kHydrateDot; anything else as typed (U+FFFD for a malformed UTF-8 byte).
    char32_t code = 0;
    char32_t shown = 0;  // what the output shows: as typed, full-width ASCII forms as ASCII
    Script script = Script::Normal;
    std::int32_t position = 0;  // 1-based, in characters of what was typed
};

// Decodes and folds `utf8`. Spaces (ASCII, ideographic, tab and line breaks) separate nothing and
// are dropped; the positions of the others still count them.
std::vector<TextChar> NormaliseText(std::string_view utf8);

// The shown forms of chars[begin, end) as UTF-8.
std::string ShownText(const std::vector<TextChar>& chars, std::size_t begin, std::size_t end);

// The number of characters `utf8` holds, counted as NormaliseText counts positions.
std::int32_t CharacterCount(std::string_view utf8);

void AppendUtf8(std::string& out, char32_t code);

}  // namespace qivara::extended
