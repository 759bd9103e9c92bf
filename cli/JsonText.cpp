#include "JsonText.h"

#include <cstdio>

namespace qivara::cli {
namespace {

// Length of the well-formed UTF-8 sequence at `at`, or 0 when it is malformed.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    }
    return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) {
            out += "\\ufffd";
            ++at;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(at, length));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
            out += escape;
        } else {
            out += c;
        }
        at += length;
    }
    out += '"';
    return out;
}

}  // namespace qivara::cli
