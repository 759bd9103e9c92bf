#pragma once
// Keyboard use of a window's controls: Tab and Shift+Tab walk them in the order of the window's
// layout table, and a focused push button is pressed by Space, Return and Enter alike, each
// acting when the key goes down.

#include <QList>

class QWidget;

namespace qivara::ui {

// Chains `controls` (all in one window) for Tab in the order given; controls that are hidden,
// disabled or take no focus are passed over by Qt as usual. A link label among them leaves on
// Tab and Shift+Tab like any control instead of keeping the focus among its own links.
void SetKeyboardOrder(const QList<QWidget*>& controls);

}  // namespace qivara::ui
