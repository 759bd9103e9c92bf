#include "Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace qivara {
namespace {

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

}  // namespace

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

}  // namespace qivara
