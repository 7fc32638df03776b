#include "gui/settings/PlacementQt.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace quirtel {

QRect OuterRectFor(const WindowRect& rect) {
    // Without screens only the size is checked; it keeps QRect's own int
    // arithmetic (right = x + width - 1) from overflowing.
    const WindowRect sized = SanitizePlacement(rect, {});
    return {sized.x1, sized.y1, sized.x2 - sized.x1, sized.y2 - sized.y1};
}

WindowRect WindowRectFor(const QRect& frameGeometry) {
    const auto edge = [](int origin, int size) {
        return static_cast<int>(
            std::min<std::int64_t>(std::int64_t{origin} + size, std::numeric_limits<int>::max()));
    };
    return {frameGeometry.x(), frameGeometry.y(), edge(frameGeometry.x(), frameGeometry.width()),
            edge(frameGeometry.y(), frameGeometry.height())};
}

std::vector<ScreenRect> AvailableScreens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return screens;
}

QRect LoadOuterRect(RegistryBackend& registry) {
    std::optional<ScreenRect> desktop;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QRect all = primary->virtualGeometry();
        desktop = ScreenRect{all.x(), all.y(), all.width(), all.height()};
    }
    return OuterRectFor(
        SanitizePlacement(LoadWindowPlacement(registry), AvailableScreens(), desktop));
}

bool SaveOuterRect(RegistryBackend& registry, const QRect& frameGeometry) {
    return SaveWindowPlacement(registry, WindowRectFor(frameGeometry));
}

}  // namespace quirtel
