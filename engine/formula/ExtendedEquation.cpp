#include "formula/ExtendedEquation.h"

#include <algorithm>
#include <optional>

#include "formula/ExtendedSpecies.h"
#include "formula/ExtendedText.h"

namespace qivara {

using namespace extended;

namespace {

using Chars = std::vector<TextChar>;

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool IsArrow(char32_t c) {
    return c == U'\u2192' || c == U'\u27F6' || c == U'\u21CC' || c == U'\u21CB' || c == U'\u2194';
}

// Every occurrence of a reaction sign: runs of "=", "<=>", "->" (any number of "-"), "---" and
// longer, "——" and longer, and the single-character arrows.
std::vector<Span> FindSigns(const Chars& chars) {
    std::vector<Span> signs;
    const std::size_t n = chars.size();
    auto runEnd = [&](std::size_t k, char32_t code) {
        while (k < n && IsPlain(chars[k], code)) ++k;
        return k;
    };
    for (std::size_t k = 0; k < n;) {
        const TextChar& c = chars[k];
        if (IsPlain(c, U'<') && k + 1 < n && IsPlain(chars[k + 1], U'=')) {
            const std::size_t j = runEnd(k + 1, U'=');
            if (j < n && IsPlain(chars[j], U'>')) {
                signs.push_back({k, j + 1});
                k = j + 1;
                continue;
            }
            ++k;
        } else if (IsPlain(c, U'=')) {
            const std::size_t j = runEnd(k, U'=');
            signs.push_back({k, j});
            k = j;
        } else if (IsPlain(c, U'-')) {
            const std::size_t j = runEnd(k, U'-');
            if (j < n && IsPlain(chars[j], U'>')) {
                signs.push_back({k, j + 1});
                k = j + 1;
            } else {
                if (j - k >= 3) signs.push_back({k, j});
                k = j;
            }
        } else if (c.code == U'\u2014') {
            const std::size_t j = runEnd(k, U'\u2014');
            if (j - k >= 2) signs.push_back({k, j});
            k = j;
        } else {
            if (IsArrow(c.code)) signs.push_back({k, k + 1});
            ++k;
        }
    }
    return signs;
}

// A reaction condition: no plus, no bracket, and at least one character that no formula holds
// (a Chinese word, △, a comma), so that A=B=C stays two signs.
bool IsCondition(const Chars& chars, std::size_t begin, std::size_t end) {
    bool foreign = false;
    for (std::size_t k = begin; k < end; ++k) {
        const TextChar& c = chars[k];
        if (c.code == U'+' || IsOpenBracket(c) || IsCloseBracket(c)) return false;
        const bool formulaChar = c.script != Script::Normal || (c.code >= U'0' && c.code <= U'9') ||
                                 (c.code >= U'A' && c.code <= U'Z') || (c.code >= U'a' && c.code <= U'z');
        if (!formulaChar) foreign = true;
    }
    return foreign;
}

// Cuts chars[begin, end) at every plus that is not part of a charge (^3+, {+}).
std::variant<std::vector<Span>, ExtendedError> SplitSide(const Chars& chars, std::size_t begin, std::size_t end) {
    std::vector<Span> species;
    std::size_t start = begin;
    std::int32_t depth = 0;
    for (std::size_t k = begin; k < end;) {
        const TextChar& c = chars[k];
        if (IsOpenBracket(c)) ++depth;
        if (IsCloseBracket(c) && depth > 0) --depth;
        if (IsPlain(c, U'^')) {
            std::size_t j = k + 1;
            while (j < end && IsPlainDigit(chars[j])) ++j;
            const bool digitsFirst = j > k + 1;
            if (j < end && (IsPlain(chars[j], U'+') || IsPlain(chars[j], U'-'))) {
                ++j;
                if (!digitsFirst) {
                    while (j < end && IsPlainDigit(chars[j])) ++j;
                }
            }
            k = j;
            continue;
        }
        // Inside brackets only a charge's plus is kept ({+}, [3+]), so an unclosed bracket does
        // not swallow the rest of the side.
        const bool chargePlus = depth > 0 && k + 1 < end && IsCloseBracket(chars[k + 1]);
        if (IsPlain(c, U'+') && !chargePlus) {
            species.push_back({start, k});
            start = k + 1;
        }
        ++k;
    }
    species.push_back({start, end});
    for (std::size_t s = 0; s < species.size(); ++s) {
        if (species[s].begin != species[s].end) continue;
        // The plus that leaves the species empty: the one before it, or the first one.
        const std::size_t plus = s > 0 ? species[s].begin - 1 : species[s].begin;
        return ErrorAt(chars[plus], ExtendedHint::EmptySpecies);
    }
    return species;
}

std::optional<ExtendedError> ParseSide(const Chars& chars, Span side, std::vector<ExtendedSpecies>& into,
                                       std::vector<std::string>& notes) {
    auto split = SplitSide(chars, side.begin, side.end);
    if (auto* error = std::get_if<ExtendedError>(&split)) return *error;
    for (const Span& span : std::get<std::vector<Span>>(split)) {
        ExtendedSpecies species;
        if (auto error = ParseSpecies(chars, span.begin, span.end, species, notes)) return error;
        into.push_back(std::move(species));
    }
    return std::nullopt;
}

bool AllElectrons(const std::vector<ExtendedSpecies>& side) {
    return std::all_of(side.begin(), side.end(), [](const ExtendedSpecies& s) { return s.electron; });
}

}  // namespace

std::variant<ExtendedEquation, ExtendedError> ParseExtendedEquation(std::string_view utf8) {
    const Chars chars = NormaliseText(utf8);
    if (chars.empty()) return ExtendedError{1, ExtendedHint::NoSign};
    const std::size_t n = chars.size();
    for (std::size_t k = 0; k < n; ++k) {
        const bool enthalpy = chars[k].code == U'\u0394' && k + 1 < n && IsPlain(chars[k + 1], U'H');
        if (IsPlain(chars[k], U';') || enthalpy) return ErrorAt(chars[k], ExtendedHint::ThermochemicalTail);
    }

    // Two sign occurrences around a condition are one sign (=△=, ==高温==).
    const std::vector<Span> found = FindSigns(chars);
    if (found.empty()) return ErrorAt(chars[0], ExtendedHint::NoSign);
    std::vector<Span> signs;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i + 1 < found.size() && IsCondition(chars, found[i].end, found[i + 1].begin)) {
            signs.push_back({found[i].begin, found[i + 1].end});
            ++i;
        } else {
            signs.push_back(found[i]);
        }
    }
    if (signs.size() > 1) return ErrorAt(chars[signs[1].begin], ExtendedHint::TwoSigns);
    Span sign = signs.front();
    // A condition in round brackets right after a single sign: ⇌(高温高压,催化剂).
    if (sign.end < n && IsPlain(chars[sign.end], U'(')) {
        std::size_t close = sign.end + 1;
        while (close < n && !IsCloseBracket(chars[close])) ++close;
        if (close < n && IsPlain(chars[close], U')') && IsCondition(chars, sign.end + 1, close)) sign.end = close + 1;
    }
    if (sign.begin == 0 || sign.end == n) return ErrorAt(chars[sign.begin], ExtendedHint::EmptySide);

    ExtendedEquation equation;
    equation.sign = ShownText(chars, sign.begin, sign.end);
    if (auto error = ParseSide(chars, {0, sign.begin}, equation.reactants, equation.notes)) return *error;
    if (auto error = ParseSide(chars, {sign.end, n}, equation.products, equation.notes)) return *error;
    if (AllElectrons(equation.reactants) || AllElectrons(equation.products)) {
        return ErrorAt(chars[sign.begin], ExtendedHint::NoElements);
    }
    return equation;
}

}  // namespace qivara
