#pragma once

class QCoreApplication;
class QString;
class QTranslator;

namespace quirtel {

// Installs Qt's own Spanish texts (standard buttons such as "Cancelar", the
// file dialogs, the context menus of edit fields) from Qt's translations
// folder, so that they match the program's Spanish. Without them installed
// nothing happens and Qt's English texts stay.
void InstallSpanishTranslations(QCoreApplication& app);

// The same from `directory`. Returns the installed translator, owned by `app`,
// or null when the directory holds no Spanish translation of Qt.
QTranslator* InstallSpanishTranslations(QCoreApplication& app, const QString& directory);

}  // namespace quirtel
