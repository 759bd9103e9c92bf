#pragma once

#include <string_view>

namespace qivara {

// The maker's web address: the end of the summary message and the target of both links.
inline constexpr std::string_view kMakerAddress = "https://www.qivara.example";

}  // namespace qivara
