#pragma once
// Command-line options of qivara-balancer-cli.

#include <optional>
#include <string>
#include <vector>

#include "job/MainWindowControls.h"
#include "job/PreparedSearch.h"
#include "search/CoefficientSearch.h"

namespace qivara::cli {

struct CliOptions {
    // The limit boxes' texts, read as the job reads them; by default what the window starts with.
    std::string limitText{controls::kCoefficientLimitBox.initial};
    std::string resultsText{controls::kResultLimitBox.initial};
    bool coefficientsOnly = false;
    bool json = false;
    bool help = false;
    bool version = false;
    SearchEngine engine = kDefaultSearchEngine;
    FormulaSyntax syntax = FormulaSyntax::Standard;  // --syntax
    std::vector<std::string> equations;              // none: read standard input, one per line
};

struct ParsedOptions {
    std::optional<CliOptions> options;  // nullopt on a usage error
    std::string error;                  // what was wrong
};

ParsedOptions ParseCliOptions(const std::vector<std::string>& arguments);

std::string UsageText();
// "qivara-balancer-cli VERSION" and a line break.
std::string VersionText();

}  // namespace qivara::cli
