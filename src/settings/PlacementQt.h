#pragma once

#include <QRect>
#include <vector>

#include "settings/WindowPlacement.h"

namespace quirtel {

// The outer rectangle as Qt holds it: position (x1, y1), size x2 - x1 by y2 - y1.
QRect OuterRectFor(const WindowRect& rect);

// A window's frameGeometry() as the four stored edges (right and bottom one
// past the last pixel).
WindowRect WindowRectFor(const QRect& frameGeometry);

// The available geometry of every screen, for SanitizePlacement.
std::vector<ScreenRect> AvailableScreens();

}  // namespace quirtel
