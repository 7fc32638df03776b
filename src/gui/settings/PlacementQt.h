#pragma once

#include <QRect>
#include <vector>

#include "core/settings/WindowPlacement.h"

namespace quirtel {

class RegistryBackend;

// The outer rectangle as Qt holds it: position (x1, y1), size x2 - x1 by
// y2 - y1. A rectangle without a positive size that fits an int becomes the
// default placement, as SanitizePlacement does.
QRect OuterRectFor(const WindowRect& rect);

// A window's frameGeometry() as the four stored edges (right and bottom one
// past the last pixel).
WindowRect WindowRectFor(const QRect& frameGeometry);

// The available geometry of every screen, for SanitizePlacement.
std::vector<ScreenRect> AvailableScreens();

// The main window's outer rectangle at start-up: the stored placement, mended
// against the current screens.
QRect LoadOuterRect(RegistryBackend& registry);

// Stores a window's frameGeometry(); true when all four edges were written.
bool SaveOuterRect(RegistryBackend& registry, const QRect& frameGeometry);

}  // namespace quirtel
