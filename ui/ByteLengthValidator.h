#pragma once
// Keeps an edit box's text within a number of code page 936 bytes, whatever the route: typed,
// pasted or written. What does not fit is cut from the text just inserted (the characters before
// the cursor), so a paste inserts as much as fits and a keystroke at the limit inserts nothing.

#include <QValidator>

namespace qivara::ui {

class ByteLengthValidator final : public QValidator {
public:
    ByteLengthValidator(int maxBytes, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    int m_maxBytes;
};

}  // namespace qivara::ui
