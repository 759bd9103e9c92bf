#pragma once
// The two links of the program: labels that open the maker's web address with the desktop's
// handler for web addresses.

#include <QString>

class QLabel;
class QWidget;

namespace qivara::ui {

QLabel* MakeMakerLink(const QString& caption, QWidget* parent);

}  // namespace qivara::ui
