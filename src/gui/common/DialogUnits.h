#pragma once

#include <QRect>

class QFont;

namespace quirtel {

// Converts dialog units to pixels with the font's own metrics: a horizontal
// unit is a quarter of the average character width, a vertical unit an eighth
// of the font height, so dialog layouts scale with their font and never clip.
QRect DialogUnitsToPixels(const QFont& font, int x, int y, int width, int height);
QSize DialogUnitsToPixels(const QFont& font, int width, int height);

}  // namespace quirtel
