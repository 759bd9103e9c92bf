#include "QtTranslation.h"

namespace qivara::ui {

std::unique_ptr<QTranslator> LoadQtTranslation(const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) return nullptr;
    return translator;
}

}  // namespace qivara::ui
