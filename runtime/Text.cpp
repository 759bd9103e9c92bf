#include "Text.h"

#include <algorithm>
#include <cstring>

namespace qivara {
namespace {

bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

char FoldAscii(char byte) { return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 32) : byte; }

bool MatchesAt(std::string_view text, std::size_t at, std::string_view sought, bool foldCase) {
    if (!foldCase) return text.compare(at, sought.size(), sought) == 0;
    for (std::size_t i = 0; i < sought.size(); ++i) {
        if (FoldAscii(text[at + i]) != FoldAscii(sought[i])) return false;
    }
    return true;
}

}  // namespace

std::int32_t TextLength(std::string_view text) { return static_cast<std::int32_t>(text.size()); }

std::string TextLeft(std::string_view text, std::int64_t n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(n, text.size()))));
}

std::string TextMid(std::string_view text, std::int64_t start, std::int64_t n) {
    const std::int64_t p = start - 1;
    const auto length = static_cast<std::int64_t>(text.size());
    if (p < 0 || p >= length || n <= 0) return {};
    return std::string(text.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(std::min(n, length - p))));
}

std::int32_t TextFind(std::string_view text, std::string_view sought, std::int64_t start, int ignoreCase) {
    if (start < 1) start = 1;
    const auto length = static_cast<std::int64_t>(text.size());
    std::int64_t at = start - 1;
    if (at >= length) return -1;
    if (sought.empty()) return 1;
    const bool fold = ignoreCase == 1;
    const auto need = static_cast<std::int64_t>(sought.size());
    while (length - at >= need) {
        if (MatchesAt(text, static_cast<std::size_t>(at), sought, fold)) return static_cast<std::int32_t>(at + 1);
        if (IsLeadByte(text[static_cast<std::size_t>(at)])) {
            if (at == length - 1) return -1;
            at += 2;
        } else {
            at += 1;
        }
    }
    return -1;
}

std::string TextReplace(std::string_view text, std::string_view sought, std::string_view replacement,
                        std::int64_t countLimit, bool caseSensitive) {
    if (text.empty() || sought.empty() || countLimit == 0) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (countLimit != 0 && text.size() - at >= sought.size()) {
        if (MatchesAt(text, at, sought, !caseSensitive)) {
            result.append(replacement);
            at += sought.size();
            if (countLimit > 0) --countLimit;
            continue;
        }
        const std::size_t step = (IsLeadByte(text[at]) && at + 1 < text.size()) ? 2 : 1;
        result.append(text.substr(at, step));
        at += step;
    }
    result.append(text.substr(at));
    return result;
}

std::vector<std::string> TextSplit(std::string_view text, std::string_view separator, std::int64_t pieceLimit) {
    std::vector<std::string> pieces;
    if (pieceLimit < 0) pieceLimit = 0;
    if (text.empty() || pieceLimit == 0) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t pieceStart = 0;
    std::size_t at = 0;
    while (text.size() - at >= separator.size()) {
        if (text.compare(at, separator.size(), separator) == 0) {
            pieces.emplace_back(text.substr(pieceStart, at - pieceStart));
            at += separator.size();
            pieceStart = at;
            if (static_cast<std::int64_t>(pieces.size()) == pieceLimit) return pieces;
            continue;
        }
        if (IsLeadByte(text[at])) {
            if (at + 1 == text.size()) break;
            at += 2;
        } else {
            at += 1;
        }
    }
    if (pieceStart < text.size() && static_cast<std::int64_t>(pieces.size()) < pieceLimit) {
        pieces.emplace_back(text.substr(pieceStart));
    }
    return pieces;
}

std::string TrimTrailingSpaces(std::string_view text) {
    // Walk by characters so that an A1 A1 pair is only taken as a space when it is one character.
    std::size_t keep = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (IsLeadByte(text[at])) {
            if (at + 1 == text.size()) break;  // a lone first byte at the end goes with the spaces
            if (text.substr(at, 2) != kFullWidthSpace) keep = at + 2;
            at += 2;
        } else {
            if (text[at] != ' ') keep = at + 1;
            at += 1;
        }
    }
    return std::string(text.substr(0, keep));
}

std::string CharFromCode(std::int32_t code) {
    const char byte = static_cast<char>(code & 0xFF);
    if (byte == '\0') return {};
    return std::string(1, byte);
}

int TextCompare(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common > 0) {
        const int order = std::memcmp(a.data(), b.data(), common);  // memcmp compares unsigned bytes
        if (order != 0) return order < 0 ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::int32_t CountOccurrences(std::string_view text, std::string_view sought) {
    std::int32_t count = 0;
    std::int32_t at = TextFind(text, sought, 1);
    while (at != -1) {
        ++count;
        at = TextFind(text, sought, static_cast<std::int64_t>(at) + 1);
    }
    return count;
}

}  // namespace qivara
