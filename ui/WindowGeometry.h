#pragma once
// Window sizes are given as outer sizes. The client areas are laid out for a common fixed frame:
// 3 px borders on every side and a 19 px title bar, so a window with a title bar is 6 px wider
// and 25 px taller than its client area.

#include <QRect>
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

// The factor, at most 1, by which a client area of `client` inside a frame that makes it `outer`
// must shrink for the whole window to fit into `available` (the frame keeps its size).
double FitFactor(QSize client, QSize outer, QSize available);

// Fixes `window`'s client size and moves it so that a window of `outer` size is centred on its
// screen's available area. A window larger than that area (a small screen, a large scale factor)
// is shrunk to fit: its client size, and the geometry and font of every child it holds directly,
// by FitFactor; its top-left corner stays on the area.
void FixAndCentre(QWidget& window, QSize client, QSize outer);
// The same for a given available area, in the window's coordinates.
void FixAndCentre(QWidget& window, QSize client, QSize outer, const QRect& available);

}  // namespace qivara::ui
