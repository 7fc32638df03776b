#include "app/SpanishTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>
#include <memory>

namespace quirtel {

void InstallSpanishTranslations(QCoreApplication& app) {
    InstallSpanishTranslations(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QTranslator* InstallSpanishTranslations(QCoreApplication& app, const QString& directory) {
    auto translator = std::make_unique<QTranslator>();
    // The Spanish file whatever the user's locale: the whole program speaks Spanish.
    if (!translator->load(QStringLiteral("qtbase_es"), directory) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    translator->setParent(&app);
    return translator.release();
}

}  // namespace quirtel
