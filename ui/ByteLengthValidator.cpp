#include "ByteLengthValidator.h"

#include <algorithm>

#include "QtText.h"

namespace qivara::ui {

ByteLengthValidator::ByteLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State ByteLengthValidator::validate(QString& input, int& position) const {
    position = std::clamp(position, 0, static_cast<int>(input.size()));
    int excess = Cp936Length(input) - m_maxBytes;
    while (excess > 0 && !input.isEmpty()) {
        // Remove one whole character: before the cursor while there is one, else at the end.
        int end = position > 0 ? position : static_cast<int>(input.size());
        int width = end >= 2 && input.at(end - 1).isLowSurrogate() && input.at(end - 2).isHighSurrogate() ? 2 : 1;
        const QString removed = input.mid(end - width, width);
        input.remove(end - width, width);
        if (position >= end) position -= width;
        excess -= Cp936Length(removed);
    }
    return Acceptable;
}

}  // namespace qivara::ui
