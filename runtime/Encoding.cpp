#include "Encoding.h"

#if defined(_WIN32) || defined(__EMSCRIPTEN__)
#define QIVARA_CP936_TABLE 1
#endif

#include <cerrno>
#include <stdexcept>

#ifdef QIVARA_CP936_TABLE
#include <algorithm>
#include <cstdint>
#include <vector>
#endif
#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace qivara {
namespace {

#ifndef _WIN32
class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {
        if (m_handle == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(m_handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `input`; at every byte that cannot be converted, appends `replacement` and skips
    // `skip(rest)` bytes.
    template <typename Skip>
    std::string Convert(std::string_view input, std::string_view replacement, Skip skip) {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every text
        std::string output;
        output.reserve(input.size() * 2 + 8);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(m_handle, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (done != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            output.append(replacement);
            if (errno == EINVAL) break;  // a sequence cut short at the end
            // EILSEQ: malformed or unconvertible here; skip it and go on.
            const std::size_t step = std::min(inLeft, skip(std::string_view(in, inLeft)));
            in += step;
            inLeft -= step;
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        return output;
    }

private:
    iconv_t m_handle;
};
#endif

// Length of a well-formed UTF-8 sequence at the start of `rest`, or 1 when it is malformed.
std::size_t Utf8SequenceLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length > rest.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

// ASCII is the same text in both encodings, and most text is ASCII: equations, limits, results.
bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

#ifdef QIVARA_CP936_TABLE
// Code page 936 by table where the system's converter is absent (Windows has no iconv) or only
// reads it (emscripten's iconv decodes GBK but cannot write it). The table is filled once, on the
// first text that is not ASCII, from the platform's own decoder (MultiByteToWideChar with code page
// 936 on Windows), and converts both ways with the same replacements as the iconv path below: "?"
// for what cannot be written, U+FFFD for what cannot be read, one byte skipped. runtime_tests'
// encoding cases run on this path in the Windows build.
class Cp936Table {
public:
    static constexpr unsigned kFirstLead = 0x81;
    static constexpr unsigned kFirstTrail = 0x40;
    static constexpr unsigned kTrails = 0xFF - kFirstTrail;  // 0x40..0xFE
    static constexpr char32_t kEuro = 0x20AC;                // the single byte 0x80

    // Every double-byte character is in the Basic Multilingual Plane, so the reverse table is flat.
    Cp936Table() : m_decode((0xFF - kFirstLead) * kTrails, 0), m_encode(0x10000, 0) {
        for (unsigned lead = kFirstLead; lead < 0xFF; ++lead) {
            char32_t* row = &m_decode[Index(lead, kFirstTrail)];
            DecodeRow(lead, row);
            for (unsigned trail = kFirstTrail; trail < 0xFF; ++trail) {
                const char32_t codePoint = row[trail - kFirstTrail];
                if (codePoint == 0 || codePoint >= m_encode.size() || m_encode[codePoint] != 0) continue;
                m_encode[codePoint] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
    }

    // The character of a double-byte code, or 0 when the code is not one.
    char32_t Decode(unsigned lead, unsigned trail) const {
        if (lead < kFirstLead || lead > 0xFE || trail < kFirstTrail || trail > 0xFE) return 0;
        return m_decode[Index(lead, trail)];
    }

    // Appends the bytes of `codePoint`, or returns false when code page 936 cannot hold it.
    bool Encode(char32_t codePoint, std::string& output) const {
        if (codePoint == kEuro) {
            output += '\x80';
            return true;
        }
        if (codePoint >= m_encode.size() || m_encode[codePoint] == 0) return false;
        output += static_cast<char>(m_encode[codePoint] >> 8);
        output += static_cast<char>(m_encode[codePoint] & 0xFF);
        return true;
    }

private:
    static std::size_t Index(unsigned lead, unsigned trail) {
        return (lead - kFirstLead) * kTrails + trail - kFirstTrail;
    }

    // Fills row[trail - 0x40] with the character of each code lead/trail, 0 where there is none.
    static void DecodeRow(unsigned lead, char32_t* row) {
#ifdef _WIN32
        for (unsigned trail = kFirstTrail; trail < 0xFF; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2];
            const int written = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, wide, 2);
            row[trail - kFirstTrail] = written == 1 ? static_cast<char32_t>(wide[0]) : 0;
        }
#else
        // The whole row in one pass: each code is two bytes in and one UTF-32 unit out; a code
        // that is none stops the pass, is skipped and leaves its 0.
        static const iconv_t toUtf32 = iconv_open("UTF-32LE", "GBK");
        if (toUtf32 == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot read GBK");
        char input[2 * kTrails];
        for (unsigned trail = kFirstTrail; trail < 0xFF; ++trail) {
            input[2 * (trail - kFirstTrail)] = static_cast<char>(lead);
            input[2 * (trail - kFirstTrail) + 1] = static_cast<char>(trail);
        }
        std::uint32_t units[kTrails] = {};
        char* in = input;
        std::size_t inLeft = sizeof input;
        while (inLeft > 0) {
            const std::size_t code = static_cast<std::size_t>(in - input) / 2;
            char* out = reinterpret_cast<char*>(&units[code]);
            std::size_t outLeft = (kTrails - code) * sizeof units[0];
            iconv(toUtf32, nullptr, nullptr, nullptr, nullptr);
            if (iconv(toUtf32, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
            // Not a code: skip its two bytes.
            in += std::min<std::size_t>(2, inLeft);
            inLeft -= std::min<std::size_t>(2, inLeft);
        }
        for (unsigned t = 0; t < kTrails; ++t) row[t] = static_cast<char32_t>(units[t]);  // little-endian target
#endif
    }

    std::vector<char32_t> m_decode;
    std::vector<std::uint16_t> m_encode;  // by code point; 0 where code page 936 has none
};

const Cp936Table& Table() {
    static const Cp936Table table;
    return table;
}

void AppendUtf8(char32_t codePoint, std::string& output) {
    if (codePoint < 0x80) {
        output += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        output += static_cast<char>(0xC0 | codePoint >> 6);
        output += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        output += static_cast<char>(0xE0 | codePoint >> 12);
        output += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        output += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        output += static_cast<char>(0xF0 | codePoint >> 18);
        output += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        output += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        output += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The character of a sequence of `length` bytes that Utf8SequenceLength accepted, or 0 when it is
// overlong, a surrogate or beyond U+10FFFF: sequences that iconv rejects as well.
char32_t Utf8CodePoint(std::string_view sequence, std::size_t length) {
    static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t codePoint = static_cast<unsigned char>(sequence[0]) & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i)
        codePoint = codePoint << 6 | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint < 0xE000))) return 0;
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF)) return 0;
    return codePoint;
}

// A sequence cut short by the end of the text: a lead byte and only continuation bytes after it.
bool CutShort(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    const std::size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || rest.size() >= wanted) return false;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return false;
    }
    return true;
}
#endif

}  // namespace

#ifdef QIVARA_CP936_TABLE

std::string Cp936FromUtf8(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\0'));
    if (IsAscii(utf8)) return std::string(utf8);
    const Cp936Table& table = Table();
    std::string output;
    output.reserve(utf8.size());
    for (std::size_t position = 0; position < utf8.size();) {
        const std::string_view rest = utf8.substr(position);
        if (static_cast<unsigned char>(rest[0]) < 0x80) {
            output += rest[0];
            ++position;
            continue;
        }
        if (CutShort(rest)) {
            output += '?';
            break;
        }
        const std::size_t length = Utf8SequenceLength(rest);
        const char32_t codePoint = length > 1 ? Utf8CodePoint(rest, length) : 0;
        if (codePoint == 0 || !table.Encode(codePoint, output)) output += '?';
        position += length;
    }
    return output;
}

std::string Utf8FromCp936(std::string_view cp936) {
    if (IsAscii(cp936)) return std::string(cp936);
    const Cp936Table& table = Table();
    std::string output;
    output.reserve(cp936.size() * 2);
    for (std::size_t position = 0; position < cp936.size();) {
        const auto lead = static_cast<unsigned char>(cp936[position]);
        if (lead < 0x80) {
            output += static_cast<char>(lead);
            ++position;
        } else if (lead == 0x80) {
            AppendUtf8(Cp936Table::kEuro, output);
            ++position;
        } else if (lead < 0xFF && position + 1 == cp936.size()) {
            AppendUtf8(0xFFFD, output);  // a lead byte cut short at the end
            break;
        } else if (const char32_t codePoint = position + 1 < cp936.size()
                                                  ? table.Decode(lead, static_cast<unsigned char>(cp936[position + 1]))
                                                  : 0;
                   codePoint != 0) {
            AppendUtf8(codePoint, output);
            position += 2;
        } else {
            AppendUtf8(0xFFFD, output);
            ++position;
        }
    }
    return output;
}

#else

std::string Cp936FromUtf8(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\0'));
    if (IsAscii(utf8)) return std::string(utf8);
    // One descriptor per thread: opening one costs more than converting a message.
    thread_local Converter converter("CP936", "UTF-8");
    return converter.Convert(utf8, "?", Utf8SequenceLength);
}

std::string Utf8FromCp936(std::string_view cp936) {
    if (IsAscii(cp936)) return std::string(cp936);
    thread_local Converter converter("UTF-8", "CP936");
    return converter.Convert(cp936, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
}

#endif

}  // namespace qivara
