#include <gtest/gtest.h>

#include <random>

#include "../../bench/BenchEquations.h"
#include "Encoding.h"
#include "formula/ExtendedEquation.h"
#include "job/BalanceJob.h"
#include "job/HeadlessWindow.h"
#include "job/PreparedSearch.h"

namespace qivara::test {
namespace {

// One job in the extended language; the boxes hold UTF-8.
struct ExtendedRun {
    explicit ExtendedRun(const std::string& equation, const std::string& limit = "64") : window(equation, limit, "1") {
        JobOptions options;
        options.syntax = FormulaSyntax::Extended;
        outcome = BalanceJob(window, options);
    }
    std::string Result() { return window.ReadText(controls::kResultBox, Property::Content); }

    HeadlessWindow window;
    JobOutcome outcome;
};

// Each rule of the language: an equation it lets through with what the job shows, and one it
// refuses with the position and the hint.
struct RuleCase {
    const char* name;
    std::string accepted;
    std::string shown;
    std::string refused;
    std::int32_t position;
    ExtendedHint hint;
};

class ExtendedRules : public testing::TestWithParam<RuleCase> {};

TEST_P(ExtendedRules, AcceptOneAndRefuseTheOtherWithItsPosition) {
    const RuleCase& c = GetParam();
    ExtendedRun accepted(c.accepted);
    EXPECT_EQ(accepted.outcome.kind, FinishKind::Summary) << c.accepted;
    EXPECT_EQ(accepted.Result(), c.shown);

    ExtendedRun refused(c.refused);
    EXPECT_EQ(refused.outcome.kind, FinishKind::Unrecognised) << c.refused;
    ASSERT_TRUE(refused.outcome.syntaxError.has_value()) << c.refused;
    EXPECT_EQ(refused.outcome.syntaxError->position, c.position) << c.refused;
    EXPECT_EQ(refused.outcome.syntaxError->hint, c.hint) << c.refused;
    ASSERT_EQ(refused.window.MessageBoxes().size(), 1U);
    EXPECT_EQ(Utf8FromCp936(refused.window.MessageBoxes()[0].message), "无法识别待配平方程式！\r\n第" +
                                                                           std::to_string(c.position) + "个字符：" +
                                                                           std::string(ExtendedHintText(c.hint)));
}

using H = ExtendedHint;
INSTANTIATE_TEST_SUITE_P(
    Cases, ExtendedRules,
    testing::Values(
        RuleCase{"SpacesAndFullWidth", "Ｈ２ ＋ Ｏ２ ＝ Ｈ２Ｏ", "2H2+O2=2H2O", "H2 + O2", 1, H::NoSign},
        RuleCase{"Arrows", "H2+O2→H2O", "2H2+O2→2H2O", "CH2=CH2+O2=CO2+H2O", 11, H::TwoSigns},
        RuleCase{"ConditionInADoubledSign", "2KClO3=MnO2,△=2KCl+3O2", "2KClO3=MnO2,△=2KCl+3O2", "H2+O2=H2O=H2O2", 10,
                 H::TwoSigns},
        RuleCase{"ConditionAfterAnArrow", "N2+H2⇌(高温高压,催化剂)NH3", "N2+3H2⇌(高温高压,催化剂)2NH3", "N2+H2⇌(高温)",
                 6, H::EmptySide},
        RuleCase{"BarePlusSeparates", "H^++OH^-=H2O", "H^++OH^-=H2O", "H2++O2=H2O", 3, H::EmptySpecies},
        RuleCase{"PlusEndingASide", "Fe^3++Cu=Fe^2++Cu^2+", "2Fe^3++Cu=2Fe^2++Cu^2+", "Cu + Fe3+ = Cu2+ + Fe2+", 9,
                 H::EmptySpecies},
        RuleCase{"SuperscriptCharges", "MnO₄⁻+Fe²⁺+H⁺=Mn²⁺+Fe³⁺+H₂O", "MnO₄⁻+5Fe²⁺+8H⁺=Mn²⁺+5Fe³⁺+4H₂O",
                 "Cu2⁺+Fe=Cu+Fe²⁺", 4, H::DigitBeforeSuperscriptSign},
        RuleCase{"SuperscriptNeedsASign", "Fe³⁺+e⁻=Fe²⁺", "Fe³⁺+e⁻=Fe²⁺", "Fe³+Cu=Fe+Cu²⁺", 3,
                 H::SuperscriptWithoutSign},
        RuleCase{"BareMinusAfterALetter", "OH-+H^+=H2O", "OH-+H^+=H2O", "MnO4-+Fe^2++H^+=Mn^2++Fe^3++H2O", 5,
                 H::AmbiguousMinus},
        RuleCase{"ChargeAtTheEndOnly", "NH4{+}+OH-=NH3+H2O", "NH4{+}+OH-=NH3+H2O", "Fe^3+Cl3=FeCl3", 3,
                 H::ChargeNotAtEnd},
        RuleCase{"Electrons", "Cr2O7^2-+H^++e^-=Cr^3++H2O", "Cr2O7^2-+14H^++6e^-=2Cr^3++7H2O", "Zn-2e⁻=Zn²⁺", 3,
                 H::HalfReactionMinus},
        RuleCase{"ElectronsHaveNoElements", "Fe[3+]+e-=Fe[2+]", "Fe[3+]+e-=Fe[2+]", "e^-=e^-", 4, H::NoElements},
        RuleCase{"Hydrates", "CuSO4·5H2O=△=CuSO4+H2O", "CuSO4·5H2O=△=CuSO4+5H2O", "CuSO4·0H2O=CuSO4+H2O", 7,
                 H::ZeroCount},
        RuleCase{"NestedBrackets", "Fe+K3[Fe(CN)6]=KFe[Fe(CN)6]+K", "Fe+K3[Fe(CN)6]=KFe[Fe(CN)6]+2K",
                 "K4[Fe(CN)6)=K+Fe+C+N", 11, H::WrongBracket},
        RuleCase{"BracketsClose", "{Ca(OH)2}+CO2=CaCO3+H2O", "{Ca(OH)2}+CO2=CaCO3+H2O", "Ca(OH2+CO2=CaCO3+H2O", 3,
                 H::UnclosedBracket},
        RuleCase{"SymbolsStartWithACapital", "Co+Cl2=CoCl2", "Co+Cl2=CoCl2", "h2+O2=H2O", 1, H::SmallLetterStart},
        RuleCase{"MarksStay", "Cu+H2SO4(浓)=CuSO4+SO2↑+H2O", "Cu+2H2SO4(浓)=CuSO4+SO2↑+2H2O", "Cu(浓)H2=Cu", 4,
                 H::NotASymbol},
        RuleCase{"BondMarks", "CH≡CH+O2=CO2+H2O", "2CH≡CH+5O2=4CO2+2H2O", "C6H5--CH3+O2=CO2+H2O", 5,
                 H::UnexpectedCharacter},
        RuleCase{"StatesButNoEnthalpy", "2H2(g)+O2(g)=2H2O(l)", "2H2(g)+O2(g)=2H2O(l)",
                 "2H2(g)+O2(g)=2H2O(l);ΔH=-571.6kJ/mol", 21, H::ThermochemicalTail},
        RuleCase{"AsciiSymbolsOnly", "H2+Cl2=HCl", "H2+Cl2=2HCl", "Σ+O2=H2O", 1, H::NotASymbol},
        RuleCase{"CountsWithinRange", "H2147483647=H2147483647", "H2147483647=H2147483647", "(H65536)65536=H2", 8,
                 H::CountTooLarge},
        RuleCase{"LeadingCoefficientIgnored", "2H2+O2=点燃=2H2O", "2H2+O2=点燃=2H2O", "2+O2=O2", 1, H::EmptyFormula}));

TEST(ExtendedEquation, LeadingCoefficientsAreNoted) {
    ExtendedRun run("2H2+O2=点燃=2H2O");
    EXPECT_EQ(run.outcome.notes,
              (std::vector<std::string>{"H2前的系数2不参与配平，已忽略", "H2O前的系数2不参与配平，已忽略"}));
}

TEST(ExtendedEquation, SummaryCountsUtf8Separators) {
    HeadlessWindow window("H2+O2=H2O+H2O2↑", "8", "2");
    JobOptions options;
    options.syntax = FormulaSyntax::Extended;
    BalanceJob(window, options);
    EXPECT_EQ(window.ReadText(controls::kResultBox, Property::Content), "3H2+2O2=2H2O+H2O2↑　8H2+5O2=6H2O+2H2O2↑");
    EXPECT_NE(Utf8FromCp936(window.MessageBoxes().at(0).message).find("共有2种"), std::string::npos);
}

// The message box shows the hints in code page 936: none may lose a character there.
TEST(ExtendedEquation, EveryHintSurvivesCodePage936) {
    for (int hint = 0; hint <= static_cast<int>(ExtendedHint::NoElements); ++hint) {
        const std::string_view text = ExtendedHintText(static_cast<ExtendedHint>(hint));
        EXPECT_EQ(Utf8FromCp936(Cp936FromUtf8(text)), text) << hint;
    }
}

// Everything the program's own language reads and the extended one reads too reaches the same
// solutions and the same text: the real equations, and random ones of the program's alphabet.
TEST(ExtendedEquation, AgreesWithTheProgramsOwnLanguage) {
    std::vector<std::string> equations = bench::kRealEquations;
    // Equations built from symbols, counts and groups, some with one stray character inserted.
    std::mt19937 random(18);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::vector<std::string> symbols{"H", "O", "Fe"};
    const std::string strays = "()23a=+";
    auto formula = [&] {
        std::string text;
        for (int part = 0, parts = 1 + pick(3); part < parts; ++part) {
            const bool group = pick(4) == 0;
            if (group) text += '(';
            for (int k = 0, n = 1 + pick(2); k < n; ++k) {
                text += symbols[static_cast<std::size_t>(pick(3))];
                if (pick(2) == 0) text += std::to_string(1 + pick(3));
            }
            if (group) text += ")" + std::to_string(1 + pick(3));
        }
        return text;
    };
    for (int k = 0; k < 3000; ++k) {
        std::string equation;
        for (int side = 0; side < 2; ++side) {
            for (int n = 0, count = 1 + pick(3); n < count; ++n) equation += formula() + "+";
            equation.back() = side == 0 ? '=' : ' ';
        }
        equation.pop_back();
        if (pick(5) == 0) {
            equation.insert(static_cast<std::size_t>(pick(static_cast<int>(equation.size()))), 1,
                            strays[static_cast<std::size_t>(pick(static_cast<int>(strays.size())))]);
        }
        equations.push_back(equation);
    }
    int compared = 0;
    for (const std::string& equation : equations) {
        const bool standardReads = std::holds_alternative<PreparedSearch>(PrepareSearch(equation, "8", "4"));
        const bool extendedReads =
            std::holds_alternative<PreparedSearch>(PrepareSearch(equation, "8", "4", FormulaSyntax::Extended));
        if (!standardReads || !extendedReads) continue;
        // ASCII equations: the same bytes in code page 936 and in UTF-8.
        HeadlessWindow standard(equation, "8", "4");
        HeadlessWindow extended(equation, "8", "4");
        JobOptions extendedOptions;
        extendedOptions.syntax = FormulaSyntax::Extended;
        const JobOutcome a = BalanceJob(standard, {});
        const JobOutcome b = BalanceJob(extended, extendedOptions);
        ASSERT_EQ(a.kind, b.kind) << equation;
        ASSERT_EQ(a.solutions, b.solutions) << equation;
        ASSERT_EQ(Utf8FromCp936(standard.ReadText(controls::kResultBox, Property::Content)),
                  extended.ReadText(controls::kResultBox, Property::Content))
            << equation;
        ++compared;
    }
    EXPECT_GT(compared, 300);
}

}  // namespace
}  // namespace qivara::test
