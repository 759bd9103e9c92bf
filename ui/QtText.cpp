#include "QtText.h"

#include "Encoding.h"

namespace qivara::ui {

QString QStringFromCp936(std::string_view cp936) {
    const std::string utf8 = Utf8FromCp936(cp936);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Cp936FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Cp936FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

int Cp936Length(const QString& text) { return static_cast<int>(Cp936FromQString(text).size()); }

QString QStringFromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8FromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace qivara::ui
