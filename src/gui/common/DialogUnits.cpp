#include "gui/common/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

namespace quirtel {
namespace {

struct Units {
    int baseX;
    int baseY;
};

Units BaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The classic average width: the 52 letters measured together.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {average > 0 ? average : 1, metrics.height() > 0 ? metrics.height() : 1};
}

int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}

}  // namespace

QRect DialogUnitsToPixels(const QFont& font, int x, int y, int width, int height) {
    const Units u = BaseUnits(font);
    return {Scale(x, u.baseX, 4), Scale(y, u.baseY, 8), Scale(width, u.baseX, 4),
            Scale(height, u.baseY, 8)};
}

QSize DialogUnitsToPixels(const QFont& font, int width, int height) {
    const Units u = BaseUnits(font);
    return {Scale(width, u.baseX, 4), Scale(height, u.baseY, 8)};
}

}  // namespace quirtel
