#include "CliOptions.h"

#include <cstdlib>

namespace qivara::cli {

std::string UsageText() {
    using namespace controls;
    const std::string limitDefault(kCoefficientLimitBox.initial);
    const std::string resultsDefault(kResultLimitBox.initial);
    return "usage: qivara-balancer-cli [--limit TEXT] [--results TEXT] [--coefficients] [--json]\n"
           "                           [--engine fast|reference] [--syntax spec|extended]\n"
           "                           [--timeout SECONDS] [EQUATION ...]\n"
           "\n"
           "Balances each EQUATION (or each line of standard input when none is given) as the\n"
           "desktop program does, e.g. MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O.\n"
           "\n"
           "  --limit TEXT     text of the coefficient-limit box (default " +
           limitDefault +
           ")\n"
           "  --results TEXT   text of the result-limit box (default " +
           resultsDefault +
           ")\n"
           "  --coefficients   show coefficients only instead of balanced equations\n"
           "  --json           one JSON object per equation\n"
           "  --engine NAME    search engine: fast (default) or reference (the literal enumeration)\n"
           "  --syntax NAME    formula language: spec (default, the program's own) or extended\n"
           "                   (ions and electrons, hydrates, nested brackets, textbook signs,\n"
           "                   full-width and Unicode text, e.g. MnO₄⁻+Fe²⁺+H⁺=Mn²⁺+Fe³⁺+H₂O)\n"
           "  --timeout SECONDS  stop an equation's search after SECONDS (e.g. 2.5) and go on with\n"
           "                   the next one\n"
           "  --help           this text\n"
           "  --version        the program's version\n"
           "\n"
           "\n"
           "--json prints the keys equation, kind, kind_value, title, icon, message, result and\n"
           "solutions (one array of coefficients per result, reactants first).\n"
           "\n"
           "Exit status: 0 when every equation was balanced, 1 when any was not, 2 on a usage error,\n"
           "3 when any equation ran past --timeout, 4 when any ran out of memory (the larger wins).\n";
}

std::string VersionText() { return std::string("qivara-balancer-cli ") + QIVARA_VERSION + "\n"; }

ParsedOptions ParseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.rfind("--", 0) != 0) {
            options.equations.push_back(argument);
            continue;
        }
        auto value = [&](std::string& into) {
            if (i + 1 >= arguments.size()) return false;
            into = arguments[++i];
            return true;
        };
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--limit") {
            if (!value(options.limitText)) return {std::nullopt, "--limit needs a value"};
        } else if (argument == "--results") {
            if (!value(options.resultsText)) return {std::nullopt, "--results needs a value"};
        } else if (argument == "--coefficients") {
            options.coefficientsOnly = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--timeout") {
            std::string text;
            if (!value(text)) return {std::nullopt, "--timeout needs a value"};
            char* end = nullptr;
            const double seconds = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !(seconds > 0) || seconds > 1e6)
                return {std::nullopt, "--timeout needs a number of seconds above 0 (at most 1000000)"};
            options.timeoutSeconds = seconds;
        } else if (argument == "--engine") {
            std::string name;
            if (!value(name)) return {std::nullopt, "--engine needs a value"};
            if (name == "reference") {
                options.engine = SearchEngine::Reference;
            } else if (name == "fast") {
                options.engine = SearchEngine::Lattice;
            } else {
                return {std::nullopt, "unknown engine '" + name + "' (use fast or reference)"};
            }
        } else if (argument == "--syntax") {
            std::string name;
            if (!value(name)) return {std::nullopt, "--syntax needs a value"};
            if (name == "spec") {
                options.syntax = FormulaSyntax::Standard;
            } else if (name == "extended") {
                options.syntax = FormulaSyntax::Extended;
            } else {
                return {std::nullopt, "unknown syntax '" + name + "' (use spec or extended)"};
            }
        } else {
            return {std::nullopt, "unknown option '" + argument + "'"};
        }
    }
    return {options, {}};
}

}  // namespace qivara::cli
