#include "formula/ExtendedText.h"

namespace qivara::extended {
namespace {

constexpr char32_t kMalformed = U'\uFFFD';

// The code point that starts at utf8[i] and its length in bytes; a malformed, overlong or
// surrogate sequence is one malformed byte.
std::pair<char32_t, std::size_t> DecodeAt(std::string_view utf8, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, lowest = 0x10000;
    } else {
        return {kMalformed, 1};
    }
    if (i + length > utf8.size()) return {kMalformed, 1};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return {kMalformed, 1};
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {kMalformed, 1};
    return {code, length};
}

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\u3000'; }

TextChar Fold(char32_t typed, std::int32_t position) {
    TextChar out{typed, typed, Script::Normal, position};
    if (typed >= 0xFF01 && typed <= 0xFF5E) {
        out.code = out.shown = typed - 0xFEE0;
    } else if (typed >= 0x2080 && typed <= 0x2089) {
        out.code = U'0' + (typed - 0x2080);
        out.script = Script::Subscript;
    } else if (typed == 0x2070 || (typed >= 0x2074 && typed <= 0x2079)) {
        out.code = U'0' + (typed - 0x2070);
        out.script = Script::Superscript;
    } else if (typed == 0x00B9 || typed == 0x00B2 || typed == 0x00B3) {
        out.code = typed == 0x00B9 ? U'1' : typed == 0x00B2 ? U'2' : U'3';
        out.script = Script::Superscript;
    } else if (typed == 0x207A || typed == 0x207B) {
        out.code = typed == 0x207A ? U'+' : U'-';
        out.script = Script::Superscript;
    } else if (typed == 0x2212 || typed == 0x2013) {
        out.code = U'-';
    } else if (typed == 0x00B7 || typed == 0x2022 || typed == 0x2219 || typed == 0x22C5 || typed == 0x30FB ||
               typed == 0xFF65) {
        out.code = kHydrateDot;
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::vector<TextChar> NormaliseText(std::string_view utf8) {
    std::vector<TextChar> chars;
    chars.reserve(utf8.size());
    std::int32_t position = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [code, length] = DecodeAt(utf8, i);
        i += length;
        ++position;
        if (!IsSpace(code)) chars.push_back(Fold(code, position));
    }
    return chars;
}

std::string ShownText(const std::vector<TextChar>& chars, std::size_t begin, std::size_t end) {
    std::string text;
    for (std::size_t k = begin; k < end; ++k) AppendUtf8(text, chars[k].shown);
    return text;
}

std::int32_t CharacterCount(std::string_view utf8) {
    std::int32_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) i += DecodeAt(utf8, i).second;
    return count;
}

}  // namespace qivara::extended
