#include "gui/about/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace quirtel {

void DesktopUrlOpener::Open(const QString& address) {
    // fromUserInput also takes a plain local path and a URL with spaces.
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

}  // namespace quirtel
