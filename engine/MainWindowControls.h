#pragma once
// Unit names of the main window's controls: the addresses the job and the window agree on.

#include <string_view>

namespace qivara::controls {

inline constexpr std::string_view kEquationBox = "编辑框1";          // the equation to balance
inline constexpr std::string_view kResultBox = "编辑框2";            // the result text, read-only
inline constexpr std::string_view kCoefficientLimitBox = "编辑框3";  // CoefficientLimit, 2..64
inline constexpr std::string_view kResultLimitBox = "编辑框4";       // ResultLimit, 1..16
inline constexpr std::string_view kCoefficientsOnlyRadio = "单选框1";
inline constexpr std::string_view kBalancedEquationRadio = "单选框2";
inline constexpr std::string_view kSettingsButton = "按钮1";
inline constexpr std::string_view kStartStopButton = "按钮4";
inline constexpr std::string_view kUsageButton = "按钮9";
inline constexpr std::string_view kPageContainer = "选择夹";

}  // namespace qivara::controls
