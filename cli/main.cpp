// qivara-balancer-cli: balances equations from the arguments or standard input.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "RunEquation.h"
#include "Utf8Arguments.h"

namespace {

// Plain output: the result line on stdout; any other ending prints an empty stdout line and the
// closing message, with its title, on stderr.
void PrintPlain(const qivara::cli::EquationReport& report) {
    if (report.outcome.kind == qivara::FinishKind::Summary) {
        std::cout << report.result << '\n';
        for (const std::string& note : report.outcome.notes) std::cerr << "注意: " << note << '\n';
        return;
    }
    std::cout << '\n';
    // The message's CR LF line break becomes the terminal's LF.
    std::string message;
    for (char c : report.message) {
        if (c != '\r') message += c;
    }
    std::cerr << report.title << ": " << message << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qivara::cli;
    UseByteStreams();
    std::ios::sync_with_stdio(false);
    const ParsedOptions parsed = ParseCliOptions(Utf8Arguments(argc, argv));
    if (!parsed.options) {
        std::cerr << "qivara-balancer-cli: " << parsed.error << "\n\n" << UsageText();
        return 2;
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::cout << UsageText();
        return 0;
    }
    if (options.version) {
        std::cout << VersionText();
        return 0;
    }

    bool allBalanced = true;
    auto balance = [&](const std::string& equation) {
        const EquationReport report = RunEquation(equation, options);
        if (options.json) {
            std::cout << JsonLine(report) << '\n';
        } else {
            PrintPlain(report);
        }
        std::cout.flush();
        allBalanced = allBalanced && report.outcome.kind == qivara::FinishKind::Summary;
    };
    if (!options.equations.empty()) {
        for (const std::string& equation : options.equations) balance(equation);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            balance(line);
        }
    }
    return allBalanced ? 0 : 1;
}
