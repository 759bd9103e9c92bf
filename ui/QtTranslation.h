#pragma once
// Qt's own words on screen (the message boxes' buttons, the edit boxes' context menus) in Chinese
// like the rest of the program, whatever the user's locale.

#include <QLibraryInfo>
#include <QString>
#include <QTranslator>
#include <memory>

namespace qivara::ui {

// Qt's Simplified Chinese translation from `folder`, to be installed on the application and kept
// alive while it is installed; nullptr when the file is missing or unreadable, and Qt's texts
// then stay as they are.
std::unique_ptr<QTranslator> LoadQtTranslation(
    const QString& folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

}  // namespace qivara::ui
