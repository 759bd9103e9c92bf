#pragma once
// Window sizes are given as outer sizes. The client areas are laid out for a common fixed frame:
// 3 px borders on every side and a 19 px title bar, so a window with a title bar is 6 px wider
// and 25 px taller than its client area.

#include <QSize>

class QWidget;

namespace qivara::ui {

inline constexpr int kFrameBorder = 3;
inline constexpr int kTitleBarHeight = 19;

// The client size of a framed window with that outer size.
constexpr QSize ClientSizeFor(QSize outer) {
    return QSize(outer.width() - 2 * kFrameBorder, outer.height() - 2 * kFrameBorder - kTitleBarHeight);
}

inline constexpr QSize kMainWindowOuter(310, 317);
inline constexpr QSize kUsageWindowOuter(540, 379);
inline constexpr QSize kSplashWindowSize(529, 359);  // no frame: outer and client alike

// Fixes `window`'s client size and moves it so that a window of `outer` size is centred on its
// screen.
void FixAndCentre(QWidget& window, QSize client, QSize outer);

}  // namespace qivara::ui
