#include "ByteLengthValidator.h"

#include <algorithm>

#include "QtText.h"

namespace qivara::ui {
namespace {

int CharacterLength(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())) ++count;
    }
    return count;
}

}  // namespace

ByteLengthValidator::ByteLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State ByteLengthValidator::validate(QString& input, int& position) const {
    position = std::clamp(position, 0, static_cast<int>(input.size()));
    const auto length = [this](const QString& text) {
        return m_countCharacters ? CharacterLength(text) : Cp936Length(text);
    };
    int excess = length(input) - m_maxBytes;
    while (excess > 0 && !input.isEmpty()) {
        // Remove one whole character: before the cursor while there is one, else at the end.
        int end = position > 0 ? position : static_cast<int>(input.size());
        int width = end >= 2 && input.at(end - 1).isLowSurrogate() && input.at(end - 2).isHighSurrogate() ? 2 : 1;
        const QString removed = input.mid(end - width, width);
        input.remove(end - width, width);
        if (position >= end) position -= width;
        excess -= length(removed);
    }
    return Acceptable;
}

}  // namespace qivara::ui
