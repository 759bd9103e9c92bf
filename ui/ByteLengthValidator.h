#pragma once
// Keeps an edit box's text within a number of code page 936 bytes, whatever the route: typed,
// pasted or written. What does not fit is cut from the text just inserted (the characters before
// the cursor), so a paste inserts as much as fits and a keystroke at the limit inserts nothing.
// For the extended language the same limit counts characters instead.

#include <QValidator>

namespace qivara::ui {

class ByteLengthValidator final : public QValidator {
public:
    ByteLengthValidator(int maxBytes, QObject* parent);

    State validate(QString& input, int& position) const override;

    // On: the limit counts characters (a surrogate pair is one), not code page 936 bytes.
    void SetCountCharacters(bool on) { m_countCharacters = on; }

private:
    int m_maxBytes;
    bool m_countCharacters = false;
};

}  // namespace qivara::ui
