#pragma once
// The main window's controls that the job, the window and the front ends agree on: each one's
// unit name (its address for property access), the text it starts with and, for the two limit
// boxes, the range the window keeps them in. Texts here are UTF-8; code that writes them into a
// control converts them to code page 936.

#include <string_view>

namespace qivara::controls {

struct Control {
    std::string_view name;     // unit name
    std::string_view initial;  // caption or content when the window is created

    // Controls are addressed by their unit names, so a Control stands wherever a name is asked for.
    constexpr operator std::string_view() const { return name; }
    friend constexpr bool operator==(const Control& control, std::string_view name) { return control.name == name; }
};

struct LimitBox : Control {
    int lowest;  // the box is clamped into [lowest, highest] when it loses focus
    int highest;
};

inline constexpr Control kEquationBox{"编辑框1", ""};
inline constexpr Control kResultBox{"编辑框2", ""};                        // read-only
inline constexpr LimitBox kCoefficientLimitBox{{"编辑框3", "16"}, 2, 64};  // CoefficientLimit
inline constexpr LimitBox kResultLimitBox{{"编辑框4", "1"}, 1, 16};        // ResultLimit
inline constexpr Control kCoefficientsOnlyRadio{"单选框1", "只显示配平系数"};
inline constexpr Control kBalancedEquationRadio{"单选框2", "显示配平后的方程式"};  // selected at start
inline constexpr Control kSettingsButton{"按钮1", "设置"};
inline constexpr Control kStartStopButton{"按钮4", "配平"};  // until the first click
inline constexpr Control kUsageButton{"按钮9", "使用方法"};
inline constexpr Control kPageContainer{"选择夹", ""};

// Captions written after start-up: the settings button's while the settings page shows, the
// start button's when idle and while a job runs.
inline constexpr std::string_view kBackCaption = "返回";
inline constexpr std::string_view kStartCaption = "开始";
inline constexpr std::string_view kStopCaption = "停止";

}  // namespace qivara::controls
