#include "formula/ExtendedSpecies.h"

#include <algorithm>
#include <cstdint>

#include "formula/FormulaText.h"

namespace qivara::extended {
namespace {

using Chars = std::vector<TextChar>;
using formula_text::kMaxCount;

bool IsCapital(const TextChar& c) { return c.script == Script::Normal && c.code >= U'A' && c.code <= U'Z'; }
bool IsSmall(const TextChar& c) { return c.script == Script::Normal && c.code >= U'a' && c.code <= U'z'; }
// A digit of a count: plain or subscript.
bool IsCountDigit(const TextChar& c) { return c.script != Script::Superscript && c.code >= U'0' && c.code <= U'9'; }
bool IsSign(const TextChar& c) { return c.code == U'+' || c.code == U'-'; }
char32_t ClosingOf(char32_t open) { return open == U'(' ? U')' : open == U'[' ? U']' : U'}'; }

// Element symbols and their atoms, in order of first appearance; every total within 2^31-1.
struct Tally {
    std::vector<std::string> symbols;
    std::vector<std::int64_t> counts;

    bool Add(const std::string& symbol, std::int64_t atoms) {
        const auto at = std::find(symbols.begin(), symbols.end(), symbol);
        std::int64_t* total = nullptr;
        if (at == symbols.end()) {
            symbols.push_back(symbol);
            counts.push_back(0);
            total = &counts.back();
        } else {
            total = &counts[static_cast<std::size_t>(at - symbols.begin())];
        }
        *total += atoms;
        return *total <= kMaxCount;
    }
    // Both factors are at most 2^31-1, so every product fits 62 bits.
    bool AddTimes(const Tally& other, std::int64_t times) {
        for (std::size_t k = 0; k < other.symbols.size(); ++k) {
            if (!Add(other.symbols[k], other.counts[k] * times)) return false;
        }
        return true;
    }
};

struct Count {
    std::int64_t value = 1;  // 1 when there are no digits
    std::size_t end = 0;     // first character after the digits
};

// The count (plain or subscript digits) that starts at `from`; a count of 0 or above 2^31-1 is
// refused, and so is a run of digits that reaches a superscript sign.
std::variant<Count, ExtendedError> ReadCount(const Chars& chars, std::size_t from, std::size_t end) {
    Count count{1, from};
    if (from >= end || !IsCountDigit(chars[from])) return count;
    std::int64_t value = 0;
    std::size_t k = from;
    for (; k < end && IsCountDigit(chars[k]); ++k) {
        value = value * 10 + (chars[k].code - U'0');
        if (value > kMaxCount) return ErrorAt(chars[from], ExtendedHint::CountTooLarge);
    }
    if (value == 0) return ErrorAt(chars[from], ExtendedHint::ZeroCount);
    return Count{value, k};
}

// A charge written as digits and a sign in either order (3+, -2, +); nullopt when chars[from, end)
// is not one. Its digits and sign must share one script.
struct Charge {
    std::int64_t value = 0;  // signed; the magnitude may pass 2^31-1, the caller refuses it
    bool hasDigits = false;
};
std::optional<Charge> ReadCharge(const Chars& chars, std::size_t from, std::size_t end) {
    if (from >= end) return std::nullopt;
    const Script script = chars[from].script;
    std::size_t signAt = end;
    std::int64_t magnitude = 0;
    std::size_t digits = 0;
    for (std::size_t k = from; k < end; ++k) {
        const TextChar& c = chars[k];
        if (c.script != script) return std::nullopt;
        if (IsSign(c)) {
            if (signAt != end) return std::nullopt;
            signAt = k;
        } else if (c.code >= U'0' && c.code <= U'9') {
            if (signAt != end && signAt != from) return std::nullopt;  // digits on both sides
            magnitude = std::min(magnitude * 10 + (c.code - U'0'), kMaxCount + 1);
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (signAt == end || (signAt != from && signAt != end - 1)) return std::nullopt;
    if (digits == 0) magnitude = 1;
    return Charge{chars[signAt].code == U'-' ? -magnitude : magnitude, digits > 0};
}

// A state or a remark in round brackets: (s) (l) (g) (aq), or any text holding a character
// outside ASCII, such as (浓) or (熔融).
bool IsMark(const Chars& chars, std::size_t from, std::size_t end) {
    std::string ascii;
    bool wide = false;
    for (std::size_t k = from; k < end; ++k) {
        if (IsOpenBracket(chars[k]) || IsCloseBracket(chars[k])) return false;
        if (chars[k].code >= 0x80) wide = true;
        if (chars[k].code < 0x80) ascii += static_cast<char>(chars[k].code);
    }
    return wide || ascii == "s" || ascii == "l" || ascii == "g" || ascii == "aq";
}

// The open bracket that the close bracket at `close` pairs with when nothing bracket-like lies
// between them; nullopt otherwise.
std::optional<std::size_t> SimpleOpenBefore(const Chars& chars, std::size_t from, std::size_t close) {
    for (std::size_t k = close; k-- > from;) {
        if (IsCloseBracket(chars[k])) return std::nullopt;
        if (IsOpenBracket(chars[k])) return k;
    }
    return std::nullopt;
}

// A formula without charge or marks: symbols, counts, groups of the three kinds nested to any
// depth, bond marks between items. Iterative, so depth costs no stack.
std::variant<Tally, ExtendedError> ParseFormulaText(const Chars& chars, std::size_t from, std::size_t end) {
    struct Frame {
        Tally tally;
        char32_t close = 0;
        std::size_t open = 0;
    };
    std::vector<Frame> stack(1);
    bool itemBefore = false;  // a symbol or a group ends right before: a bond mark may follow
    std::size_t k = from;
    while (k < end) {
        const TextChar& c = chars[k];
        if (IsCapital(c)) {
            std::string symbol(1, static_cast<char>(c.code));
            std::size_t next = k + 1;
            if (next < end && IsSmall(chars[next])) symbol += static_cast<char>(chars[next++].code);
            auto count = ReadCount(chars, next, end);
            if (auto* error = std::get_if<ExtendedError>(&count)) return *error;
            if (!stack.back().tally.Add(symbol, std::get<Count>(count).value)) {
                return ErrorAt(c, ExtendedHint::CountTooLarge);
            }
            k = std::get<Count>(count).end;
            itemBefore = true;
        } else if (IsOpenBracket(c)) {
            stack.push_back(Frame{{}, ClosingOf(c.code), k});
            ++k;
            itemBefore = false;
        } else if (IsCloseBracket(c)) {
            if (stack.size() == 1 || stack.back().close != c.code) return ErrorAt(c, ExtendedHint::WrongBracket);
            if (stack.back().tally.symbols.empty()) return ErrorAt(c, ExtendedHint::EmptyFormula);
            auto count = ReadCount(chars, k + 1, end);
            if (auto* error = std::get_if<ExtendedError>(&count)) return *error;
            const Frame group = std::move(stack.back());
            stack.pop_back();
            if (!stack.back().tally.AddTimes(group.tally, std::get<Count>(count).value)) {
                return ErrorAt(c, ExtendedHint::CountTooLarge);
            }
            k = std::get<Count>(count).end;
            itemBefore = true;
        } else if (IsPlain(c, U'-') || c.code == U'\u2261') {
            const bool between = itemBefore && k + 1 < end && (IsCapital(chars[k + 1]) || IsOpenBracket(chars[k + 1]));
            if (!between) return ErrorAt(c, ExtendedHint::UnexpectedCharacter);
            ++k;
            itemBefore = false;
        } else if (IsSmall(c)) {
            return ErrorAt(c, ExtendedHint::SmallLetterStart);
        } else if (c.script == Script::Superscript) {
            std::size_t run = k;
            while (run < end && chars[run].script == Script::Superscript && !IsSign(chars[run])) ++run;
            const bool hasSign = run < end && chars[run].script == Script::Superscript;
            return ErrorAt(c, hasSign ? ExtendedHint::ChargeNotAtEnd : ExtendedHint::SuperscriptWithoutSign);
        } else if (IsPlain(c, U'^')) {
            return ErrorAt(c, ExtendedHint::ChargeNotAtEnd);
        } else if (c.code >= 0x80 && c.code != kHydrateDot) {
            return ErrorAt(c, ExtendedHint::NotASymbol);
        } else {
            return ErrorAt(c, ExtendedHint::UnexpectedCharacter);
        }
    }
    if (stack.size() > 1) return ErrorAt(chars[stack.back().open], ExtendedHint::UnclosedBracket);
    return std::move(stack.front().tally);
}

bool IsHydrateSeparator(const TextChar& c) { return c.code == kHydrateDot || IsPlain(c, U'*') || IsPlain(c, U'.'); }

// The end of the formula once its charge is taken off the end, and the charge; or the refusal.
struct ChargeSplit {
    std::size_t formulaEnd = 0;
    std::int64_t charge = 0;
};
std::variant<ChargeSplit, ExtendedError> SplitCharge(const Chars& chars, std::size_t body, std::size_t end) {
    const TextChar& last = chars[end - 1];
    if (last.script == Script::Superscript) {
        std::size_t run = end - 1;
        while (run > body && chars[run - 1].script == Script::Superscript) --run;
        const bool hasSign = std::any_of(chars.begin() + static_cast<std::ptrdiff_t>(run),
                                         chars.begin() + static_cast<std::ptrdiff_t>(end), IsSign);
        if (!hasSign) return ErrorAt(chars[run], ExtendedHint::SuperscriptWithoutSign);
        const std::optional<Charge> charge = ReadCharge(chars, run, end);
        if (!charge) return ErrorAt(chars[run], ExtendedHint::ChargeNotAtEnd);
        if (!charge->hasDigits && run > body && IsPlainDigit(chars[run - 1])) {
            return ErrorAt(chars[run], ExtendedHint::DigitBeforeSuperscriptSign);
        }
        return ChargeSplit{run, charge->value};
    }
    for (std::size_t k = end; k-- > body;) {
        if (!IsPlain(chars[k], U'^')) continue;
        const std::optional<Charge> charge = ReadCharge(chars, k + 1, end);
        if (!charge || chars[k + 1].script != Script::Normal) return ErrorAt(chars[k], ExtendedHint::ChargeNotAtEnd);
        return ChargeSplit{k, charge->value};
    }
    if (IsCloseBracket(last)) {
        const std::optional<std::size_t> open = SimpleOpenBefore(chars, body, end - 1);
        if (open && ClosingOf(chars[*open].code) == last.code && chars[*open + 1].script == Script::Normal) {
            if (const std::optional<Charge> charge = ReadCharge(chars, *open + 1, end - 1)) {
                return ChargeSplit{*open, charge->value};
            }
        }
        return ChargeSplit{end, 0};
    }
    if (IsPlain(last, U'-') && end - 1 > body) {
        const TextChar& before = chars[end - 2];
        if (IsPlainDigit(before)) return ErrorAt(last, ExtendedHint::AmbiguousMinus);
        if (IsCapital(before) || IsSmall(before) || IsCloseBracket(before) || before.script == Script::Subscript) {
            return ChargeSplit{end - 1, -1};
        }
    }
    return ChargeSplit{end, 0};
}

}  // namespace

std::optional<ExtendedError> ParseSpecies(const Chars& chars, std::size_t begin, std::size_t end,
                                          ExtendedSpecies& species, std::vector<std::string>& notes) {
    std::size_t body = begin;
    while (body < end && IsPlainDigit(chars[body])) ++body;
    if (body == end) return ErrorAt(chars[begin], ExtendedHint::EmptyFormula);
    species.display = ShownText(chars, body, end);
    if (body > begin) {
        notes.push_back(species.display + "前的系数" + ShownText(chars, begin, body) + "不参与配平，已忽略");
    }

    // Electrons taken away with a minus (Zn-2e⁻): refused before the minus is read as a bond.
    for (std::size_t k = body; k < end; ++k) {
        if (!IsPlain(chars[k], U'-')) continue;
        std::size_t e = k + 1;
        while (e < end && IsPlainDigit(chars[e])) ++e;
        if (e < end && IsPlain(chars[e], U'e') && (e + 1 == end || chars[e + 1].code == U'^' || IsSign(chars[e + 1]))) {
            return ErrorAt(chars[k], ExtendedHint::HalfReactionMinus);
        }
    }

    // Marks at the end: ↑ ↓ and bracketed states or remarks, kept in the display only.
    std::size_t markStart = end;
    for (;;) {
        if (markStart > body && (chars[markStart - 1].code == U'\u2191' || chars[markStart - 1].code == U'\u2193')) {
            --markStart;
            continue;
        }
        if (markStart > body && IsPlain(chars[markStart - 1], U')')) {
            const std::optional<std::size_t> open = SimpleOpenBefore(chars, body, markStart - 1);
            if (open && IsPlain(chars[*open], U'(') && IsMark(chars, *open + 1, markStart - 1)) {
                markStart = *open;
                continue;
            }
        }
        break;
    }
    if (markStart == body) return ErrorAt(chars[body], ExtendedHint::EmptyFormula);

    // The electron: e^-, e-, e⁻.
    if (IsPlain(chars[body], U'e')) {
        const std::size_t rest = markStart - body;
        const bool caret = rest == 3 && IsPlain(chars[body + 1], U'^') && IsPlain(chars[body + 2], U'-');
        const bool bare = rest == 2 && chars[body + 1].code == U'-';
        if (caret || bare) {
            species.electron = true;
            species.charge = -1;
            return std::nullopt;
        }
    }

    auto split = SplitCharge(chars, body, markStart);
    if (auto* error = std::get_if<ExtendedError>(&split)) return *error;
    const auto [formulaEnd, charge] = std::get<ChargeSplit>(split);
    if (charge == 0 && formulaEnd != markStart) return ErrorAt(chars[formulaEnd], ExtendedHint::ZeroCount);
    if (charge > kMaxCount || charge < -kMaxCount) return ErrorAt(chars[formulaEnd], ExtendedHint::CountTooLarge);
    if (formulaEnd == body) return ErrorAt(chars[body], ExtendedHint::EmptyFormula);

    // Parts joined by hydrate dots, each after the first with its own count.
    Tally total;
    std::size_t part = body;
    for (bool first = true;; first = false) {
        std::size_t stop = part;
        for (std::int32_t depth = 0; stop < formulaEnd; ++stop) {
            if (IsOpenBracket(chars[stop])) ++depth;
            if (IsCloseBracket(chars[stop])) --depth;
            if (depth == 0 && IsHydrateSeparator(chars[stop])) break;
        }
        std::int64_t times = 1;
        std::size_t formula = part;
        if (!first) {
            auto count = ReadCount(chars, part, stop);
            if (auto* error = std::get_if<ExtendedError>(&count)) return *error;
            times = std::get<Count>(count).value;
            formula = std::get<Count>(count).end;
        }
        if (formula == stop) return ErrorAt(chars[std::min(formula, formulaEnd - 1)], ExtendedHint::EmptyFormula);
        auto tally = ParseFormulaText(chars, formula, stop);
        if (auto* error = std::get_if<ExtendedError>(&tally)) return *error;
        if (!total.AddTimes(std::get<Tally>(tally), times)) return ErrorAt(chars[part], ExtendedHint::CountTooLarge);
        if (stop == formulaEnd) break;
        part = stop + 1;
    }
    species.symbols = std::move(total.symbols);
    for (const std::int64_t count : total.counts) species.counts.push_back(static_cast<std::int32_t>(count));
    species.charge = static_cast<std::int32_t>(charge);
    return std::nullopt;
}

}  // namespace qivara::extended
