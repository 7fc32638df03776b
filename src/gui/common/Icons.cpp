#include "gui/common/Icons.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// Q_INIT_RESOURCE must be used outside any namespace. Calling it also makes the
// linker keep the resource object of the static library.
static void InitQuirtelResources() {
    Q_INIT_RESOURCE(quirtel);
}

namespace quirtel {
namespace {

QIcon IconFrom(const char* path) {
    InitResources();
    return QIcon(QString::fromLatin1(path));
}

}  // namespace

void InitResources() {
    static const bool done = (InitQuirtelResources(), true);
    (void)done;
}

QIcon ProgramIcon() {
    InitResources();
    // Qt's SVG icon engine keeps one file per mode, so the two drawings are
    // rendered into pixmaps of fixed sizes instead.
    QSvgRenderer small(QString::fromLatin1(PROGRAM_ICON_SMALL_PATH));
    QSvgRenderer large(QString::fromLatin1(PROGRAM_ICON_PATH));
    QIcon icon;
    for (const int size : {16, 20, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        (size <= 22 ? small : large).render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QIcon StartIcon() {
    return IconFrom(START_ICON_PATH);
}

QIcon FinishIcon() {
    return IconFrom(FINISH_ICON_PATH);
}

QIcon AbortIcon() {
    return IconFrom(ABORT_ICON_PATH);
}

}  // namespace quirtel
