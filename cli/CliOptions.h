#pragma once
// Command-line options of qivara-balancer-cli.

#include <optional>
#include <string>
#include <vector>

#include "CoefficientSearch.h"

namespace qivara::cli {

struct CliOptions {
    std::string limitText = "16";   // the coefficient-limit box's text, read as the job reads it
    std::string resultsText = "1";  // the result-limit box's text
    bool coefficientsOnly = false;
    bool json = false;
    bool help = false;
    SearchEngine engine = kDefaultSearchEngine;
    std::vector<std::string> equations;  // none: read standard input, one per line
};

struct ParsedOptions {
    std::optional<CliOptions> options;  // nullopt on a usage error
    std::string error;                  // what was wrong
};

ParsedOptions ParseCliOptions(const std::vector<std::string>& arguments);

const char* UsageText();

}  // namespace qivara::cli
