#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace quirtel::testing {

// Renders a widget on white and finds where it drew: the bounding box of the
// pixels that are not white, and the darkest of them.
struct Ink {
    QRect box;
    QColor darkest;
};

inline Ink InkOf(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    Ink ink{QRect(), QColor(Qt::white)};
    int darkestSum = 3 * 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int sum = c.red() + c.green() + c.blue();
            if (sum == 3 * 255) {
                continue;
            }
            ink.box = ink.box.united(QRect(x, y, 1, 1));
            if (sum < darkestSum) {
                darkestSum = sum;
                ink.darkest = c;
            }
        }
    }
    return ink;
}

}  // namespace quirtel::testing
