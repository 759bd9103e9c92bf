#pragma once

#include <string>
#include <string_view>

namespace qivara::cli {

// `text` as a JSON string literal, quotes included. Malformed UTF-8 becomes U+FFFD, so the
// output is valid JSON whatever bytes came in.
std::string JsonString(std::string_view text);

}  // namespace qivara::cli
