#include "gui/about/ManualAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace quirtel {

QString ManualAddress(const QString& applicationDir, const QString& sourceManual) {
    const QString installed =
        QDir::cleanPath(applicationDir + QStringLiteral("/../share/doc/quirtel/manual.html"));
    QString path = installed;
    if (!QFileInfo(installed).isFile() && !sourceManual.isEmpty() &&
        QFileInfo(sourceManual).isFile()) {
        path = QFileInfo(sourceManual).absoluteFilePath();
    }
    return QUrl::fromLocalFile(path).toString();
}

QString ManualAddress() {
    return ManualAddress(QCoreApplication::applicationDirPath(),
                         QStringLiteral(QUIRTEL_SOURCE_MANUAL));
}

}  // namespace quirtel
