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
    double timeoutSeconds = 0;                       // > 0: each equation's job is stopped after this long
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

// Exit statuses beyond 0 (every equation balanced) and 1 (some equation not balanced); when
// several apply, the larger one is returned.
inline constexpr int kExitUsage = 2;        // a usage error: nothing was balanced
inline constexpr int kExitTimedOut = 3;     // some equation ran past --timeout and was stopped
inline constexpr int kExitOutOfMemory = 4;  // some equation ran out of memory and was abandoned

}  // namespace qivara::cli
