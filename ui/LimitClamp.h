#pragma once
// A limit box's value is forced into its range when the box loses focus. What the box holds is
// read as the job reads it (full-width digits fold, reading stops at the first non-digit, no
// digit gives 0), so an empty or non-numeric box becomes the lower bound.

#include <QObject>
#include <string>
#include <string_view>

class QLineEdit;

namespace qivara::ui {

// The clamped text of `text` (code page 936 in and out).
std::string LimitClamp(std::string_view text, int lowest, int highest);

// Runs LimitClamp on `box` each time it loses focus; owned by the box.
class LimitClampOnFocusOut final : public QObject {
public:
    LimitClampOnFocusOut(QLineEdit& box, int lowest, int highest);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& m_box;
    int m_lowest;
    int m_highest;
};

}  // namespace qivara::ui
