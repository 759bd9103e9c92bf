// Fuzzes a whole job on the headless window: arbitrary equation bytes and limit texts. The input
// is "limit text \n result-limit text \n mode byte equation bytes". Checks that the job ends in
// exactly one kind with its message, that the result box is written at most once and only at
// the end, and that every recorded solution is balanced, inside the limits and shown in the text
// (the text read back gives the same vectors).

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Numbers.h"
#include "Text.h"
#include "job/BalanceJob.h"
#include "job/FinishJob.h"
#include "job/HeadlessWindow.h"
#include "job/MainWindowControls.h"
#include "job/PreparedSearch.h"

namespace {

using namespace qivara;

void Require(bool condition) {
    if (!condition) std::abort();
}

// Every element's atoms on the left equal those on the right, counted on the equation's own
// species with the given coefficients, exactly.
bool Balanced(const std::string& equation, const CoefficientVector& c) {
    auto prepared = PrepareSearch(equation, "1", "1");
    const auto* search = std::get_if<PreparedSearch>(&prepared);
    Require(search != nullptr && search->problem.SpeciesCount() == c.size());
    const auto reactants = static_cast<std::size_t>(search->problem.reactantCount);
    for (const std::vector<std::int32_t>& counts : search->problem.elementCounts) {
        __int128 difference = 0;
        for (std::size_t k = 0; k < c.size(); ++k) difference += (k < reactants ? 1 : -1) * __int128{counts[k]} * c[k];
        if (difference != 0) return false;
    }
    return true;
}

// The coefficient vectors a balanced-equation result text shows: each entry's species written as
// an optional decimal coefficient (none for 1) followed by the formula, which never starts with a
// digit.
std::vector<CoefficientVector> ReparsedSolutions(const std::string& text) {
    std::vector<CoefficientVector> solutions;
    for (const std::string& entry : TextSplit(text + std::string(kFullWidthSpace), kFullWidthSpace, 1 << 30)) {
        CoefficientVector c;
        std::string side;
        for (const char ch : entry + "+") {
            if (ch != '+' && ch != '=') {
                side += ch;
                continue;
            }
            std::size_t digits = 0;
            while (digits < side.size() && side[digits] >= '0' && side[digits] <= '9') ++digits;
            c.push_back(digits == 0 ? 1 : TextToInteger(side.substr(0, digits)));
            side.clear();
        }
        solutions.push_back(c);
    }
    return solutions;
}

std::string TakeLine(std::string& rest) {
    const std::size_t end = rest.find('\n');
    std::string line = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string rest(reinterpret_cast<const char*>(data), size);
    if (rest.find('\0') != std::string::npos) return 0;  // engine text holds no NUL
    const std::string limitText = TakeLine(rest).substr(0, 4);
    const std::string resultsText = TakeLine(rest).substr(0, 4);
    const bool coefficientsOnly = !rest.empty() && (rest[0] & 1);
    if (!rest.empty()) rest.erase(0, 1);

    HeadlessWindow window(rest, limitText, resultsText);
    if (coefficientsOnly) window.WriteProperty(controls::kCoefficientsOnlyRadio, Property::Selected, 1);
    const std::size_t setupWrites = window.Writes().size();

    // A search may be long for some inputs; stop it after a while, as a user would.
    std::stop_source stop;
    std::jthread timer([&stop](std::stop_token done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done.stop_requested() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        stop.request_stop();
    });
    JobOptions options;
    options.stop = stop.get_token();
    const JobOutcome outcome = BalanceJob(window, options);
    timer.request_stop();
    timer.join();

    const auto& writes = window.Writes();
    const auto& boxes = window.MessageBoxes();
    if (outcome.kind == FinishKind::Stopped) {
        Require(boxes.empty());
        for (std::size_t i = setupWrites; i < writes.size(); ++i) Require(writes[i].control != controls::kResultBox);
        return 0;
    }
    Require(outcome.kind >= FinishKind::Unrecognised && outcome.kind <= FinishKind::Summary);
    Require(boxes.size() == 1);
    // Only the summary writes the result box, once, right before the four idle-state writes.
    const std::size_t jobWrites = writes.size() - setupWrites;
    Require(jobWrites == (outcome.kind == FinishKind::Summary ? 5u : 4u));
    if (outcome.kind != FinishKind::Summary) {
        Require(outcome.solutions.empty());
        return 0;
    }
    Require(writes[setupWrites].control == controls::kResultBox);

    const std::int64_t limit = std::max<std::int64_t>(TextToInteger(limitText), 1);
    const std::int64_t wanted = std::max<std::int64_t>(TextToInteger(resultsText), 1);
    Require(!outcome.solutions.empty() && static_cast<std::int64_t>(outcome.solutions.size()) <= wanted);
    const std::string text = window.ReadText(controls::kResultBox, Property::Content);
    Require(CountOccurrences(text, kFullWidthSpace) + 1 == static_cast<std::int32_t>(outcome.solutions.size()));
    std::string expected;
    for (const CoefficientVector& solution : outcome.solutions) {
        for (std::int64_t c : solution) Require(c >= 1 && c <= limit);
        if (coefficientsOnly) {
            if (!expected.empty()) expected += kFullWidthSpace;
            for (std::size_t k = 0; k < solution.size(); ++k) {
                expected += (k ? "," : "") + NumberToText(solution[k]);
            }
        }
    }
    if (coefficientsOnly) {
        Require(text == expected);
    } else {
        Require(ReparsedSolutions(text) == outcome.solutions);
    }
    for (const CoefficientVector& solution : outcome.solutions) Require(Balanced(rest, solution));
    return 0;
}
