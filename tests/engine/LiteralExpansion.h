#pragma once
// Test oracle: the group expansion pass by pass, on the whole working text, with no shortcut.

#include <optional>
#include <string>
#include <string_view>

namespace qivara::testing_oracle {

std::optional<std::string> LiteralExpandGroups(std::string_view formula);

}  // namespace qivara::testing_oracle
