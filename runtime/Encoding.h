#pragma once
// The one place where engine text (code page 936 bytes) meets UTF-8 (sources, terminals, Qt).

#include <string>
#include <string_view>

namespace qivara {

// UTF-8 to code page 936. Engine text holds no NUL, so the text ends at the first NUL, as a C
// string would. A character that code page 936 cannot hold, and every malformed UTF-8 sequence,
// becomes "?": a byte the formula parser rejects, so bad input ends in a clear message.
std::string Cp936FromUtf8(std::string_view utf8);

// Code page 936 to UTF-8. A byte sequence that is not code page 936 becomes U+FFFD.
std::string Utf8FromCp936(std::string_view cp936);

}  // namespace qivara
