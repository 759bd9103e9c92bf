#pragma once
// The passes of the group expansion, read off the formula in one left-to-right sweep: each step
// finds the group the next pass would rewrite and makes every check that pass makes, and the
// sweep keeps the length the working text would have. It writes no text; ExpandGroups builds the
// expanded text from the steps; ParseFormulaWithoutCopies writes only what precedes the copies.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qivara {

// The working text of the group expansion may not grow beyond this; a formula whose multipliers
// would make it larger is rejected instead of exhausting memory.
inline constexpr std::size_t kMaxExpandedFormulaBytes = std::size_t{1} << 20;

// Holds a view of the formula: the formula must outlive the sweep.
class GroupSweep {
public:
    enum class Step { Group, End, Rejected };

    explicit GroupSweep(std::string_view formula);

    // Carries out the next pass. `copies` is the text of the appended copies still in the working
    // text; only its leading digit run is read, and only when the run after the group's ")" reaches
    // the end of the formula. After Rejected every further step is Rejected.
    Step Next(std::string_view copies);

    // After Group: the formula text from the end of the previous group (or the start) to "(",
    // which stays where it is; the group's content, which stays in place and gains
    // Multiplier() - 1 copies at the end when the multiplier is above 1; and how many bytes of the
    // multiplier came from the front of `copies` and are deleted there.
    std::string_view Before() const { return m_before; }
    std::string_view Content() const { return m_content; }
    std::int32_t Multiplier() const { return m_multiplier; }
    std::size_t CopyDigitsDeleted() const { return m_copyDigitsDeleted; }

    // After End: the formula text after the last group, followed in the text by the copies.
    std::string_view Rest() const { return m_formula.substr(m_cursor); }

private:
    Step Reject();

    std::string_view m_formula;
    std::size_t m_cursor = 0;    // first byte of the formula not yet passed
    std::size_t m_textSize = 0;  // length of the working text after the passes so far
    bool m_rejected = false;
    std::string_view m_before;
    std::string_view m_content;
    std::int32_t m_multiplier = 0;
    std::size_t m_copyDigitsDeleted = 0;
};

}  // namespace qivara
