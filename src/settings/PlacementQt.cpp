#include "settings/PlacementQt.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace quirtel {
namespace {

// Edges far apart give sizes beyond an int; clamp instead of overflowing.
int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

QRect OuterRectFor(const WindowRect& rect) {
    return {rect.x1, rect.y1, ClampToInt(std::int64_t{rect.x2} - rect.x1),
            ClampToInt(std::int64_t{rect.y2} - rect.y1)};
}

WindowRect WindowRectFor(const QRect& frameGeometry) {
    return {frameGeometry.x(), frameGeometry.y(),
            ClampToInt(std::int64_t{frameGeometry.x()} + frameGeometry.width()),
            ClampToInt(std::int64_t{frameGeometry.y()} + frameGeometry.height())};
}

std::vector<ScreenRect> AvailableScreens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return screens;
}

}  // namespace quirtel
