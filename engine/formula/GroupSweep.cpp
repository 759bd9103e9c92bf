#include "formula/GroupSweep.h"

#include <algorithm>
#include <optional>
#include <string>

#include "Numbers.h"
#include "formula/FormulaText.h"

namespace qivara {

using namespace formula_text;

// Why one sweep meets the same groups, with the same outcome, as repeating the pass until no
// parenthesis is left:
// - Only letters, digits and parentheses survive the symbol scan, and a pass deletes nothing but
//   "(" and ")" + digits, so a formula holding any other byte is rejected at once.
// - Copies go to the end and hold no parenthesis, so the passes meet the groups in written order
//   and the text before the current group is final.
// - A pass deletes the group's own ")" exactly when the digit run after it starts with the
//   multiplier's rendering (no leading zero, or zeros only). Otherwise the ")" stays first and
//   the next pass rejects the formula, so it is rejected here.
// - The run after the last group may reach the end of the formula and go on into the copies
//   appended so far; it is read, and deleted, across that boundary as the passes would.
GroupSweep::GroupSweep(std::string_view formula) : m_formula(formula), m_textSize(formula.size()) {
    m_rejected = std::any_of(formula.begin(), formula.end(),
                             [](char c) { return !IsLetter(c) && !IsDigit(c) && c != '(' && c != ')'; });
}

GroupSweep::Step GroupSweep::Reject() {
    m_rejected = true;
    return Step::Rejected;
}

GroupSweep::Step GroupSweep::Next(std::string_view copies) {
    if (m_rejected) return Step::Rejected;
    const std::size_t open = m_formula.find('(', m_cursor);
    const std::size_t close = m_formula.find(')', m_cursor);
    if (open == std::string_view::npos && close == std::string_view::npos) return Step::End;
    if (open == std::string_view::npos || close == std::string_view::npos || open > close) return Reject();
    const std::string_view content = m_formula.substr(open + 1, close - open - 1);
    if (content.empty() || content.find('(') != std::string_view::npos) return Reject();

    const std::size_t runEnd = DigitRunEnd(m_formula, close + 1);
    std::string run(m_formula.substr(close + 1, runEnd - close - 1));
    if (runEnd == m_formula.size()) run.append(copies.substr(0, DigitRunEnd(copies, 0)));
    const std::optional<std::int32_t> multiplier = DecimalValue(run);
    if (!multiplier) return Reject();
    const std::string rendering = NumberToText(std::int64_t{*multiplier});
    if (run.compare(0, rendering.size(), rendering) != 0) return Reject();

    if (*multiplier > 1) {
        const std::size_t extra = static_cast<std::size_t>(*multiplier - 1) * content.size();
        if (extra > kMaxExpandedFormulaBytes || m_textSize + extra > kMaxExpandedFormulaBytes) return Reject();
        m_textSize += extra;
    }
    m_before = m_formula.substr(m_cursor, open - m_cursor);
    m_content = content;
    m_multiplier = *multiplier;
    const std::size_t fromFormula = std::min(rendering.size(), runEnd - close - 1);
    m_cursor = close + 1 + fromFormula;
    m_copyDigitsDeleted = rendering.size() - fromFormula;
    m_textSize -= 2 + rendering.size();
    return Step::Group;
}

}  // namespace qivara
