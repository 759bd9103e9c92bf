#include <gtest/gtest.h>

#include "CliOptions.h"

using namespace qivara::cli;

namespace qivara::test {
namespace {

TEST(CliOptions, DefaultsAreTheWindowDefaults) {
    const ParsedOptions parsed = ParseCliOptions({"H2+O2=H2O"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->limitText, "16");
    EXPECT_EQ(parsed.options->resultsText, "1");
    EXPECT_FALSE(parsed.options->coefficientsOnly);
    EXPECT_FALSE(parsed.options->json);
    EXPECT_EQ(parsed.options->equations, std::vector<std::string>{"H2+O2=H2O"});
}

TEST(CliOptions, ValuesAreKeptAsTexts) {
    const ParsedOptions parsed =
        ParseCliOptions({"--limit", "", "--results", "１６", "--coefficients", "--json", "A=A", "B=B"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->limitText, "");
    EXPECT_EQ(parsed.options->resultsText, "１６");
    EXPECT_TRUE(parsed.options->coefficientsOnly);
    EXPECT_TRUE(parsed.options->json);
    EXPECT_EQ(parsed.options->equations, (std::vector<std::string>{"A=A", "B=B"}));
}

TEST(CliOptions, HelpAndVersionNameEveryOption) {
    const ParsedOptions parsed = ParseCliOptions({"--version"});
    ASSERT_TRUE(parsed.options);
    EXPECT_TRUE(parsed.options->version);
    EXPECT_EQ(VersionText().rfind("qivara-balancer-cli ", 0), 0u);
    for (const char* option : {"--limit", "--results", "--coefficients", "--json", "--engine", "--help", "--version"}) {
        EXPECT_NE(UsageText().find(option), std::string::npos) << option;
    }
}

TEST(CliOptions, DoubleDashEndsOptions) {
    const ParsedOptions parsed = ParseCliOptions({"--", "--json"});
    ASSERT_TRUE(parsed.options);
    EXPECT_FALSE(parsed.options->json);
    EXPECT_EQ(parsed.options->equations, std::vector<std::string>{"--json"});
}

TEST(CliOptions, UsageErrors) {
    const std::vector<std::vector<std::string>> bad{
        {"--limit"},   {"--results"},      {"--engine"},        {"--engine", "quantum"}, {"--verbose"},
        {"--timeout"}, {"--timeout", "0"}, {"--timeout", "-1"}, {"--timeout", "2s"},     {"--timeout", "nan"}};
    for (const auto& arguments : bad) {
        const ParsedOptions parsed = ParseCliOptions(arguments);
        EXPECT_FALSE(parsed.options) << arguments[0];
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(CliOptions, EngineChoice) {
    const struct {
        std::vector<std::string> arguments;
        qivara::SearchEngine engine;
    } cases[] = {{{}, qivara::SearchEngine::Lattice},
                 {{"--engine", "fast"}, qivara::SearchEngine::Lattice},
                 {{"--engine", "reference"}, qivara::SearchEngine::Reference},
                 {{"--engine", "reference", "--engine", "fast"}, qivara::SearchEngine::Lattice}};
    for (const auto& c : cases) {
        const ParsedOptions parsed = ParseCliOptions(c.arguments);
        ASSERT_TRUE(parsed.options);
        EXPECT_EQ(parsed.options->engine, c.engine) << c.arguments.size();
    }
}

}  // namespace
}  // namespace qivara::test
